// A scenario on the simulated desktop: a library built in the test, the preferences a
// first start gets, and Tolvan's engine running on them. "The user types KEYS in an
// application holding TEXT; it then holds ..." becomes type(KEYS) and text().
//
// Scenario suites run in both swallow modes (support/swallow_modes.h). The user must see the
// same result in both; where what the application receives differs, a test says so for
// each mode.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "library/folder_tree.h"
#include "library/library.h"
#include "settings/prefs.h"
#include "simulation/simulation.h"
#include "support/swallow_modes.h"

namespace tolvan::testing {

class Scenario {
 public:
  explicit Scenario(bool can_swallow = false) {
    options.can_swallow = can_swallow;
    abbr_ensure_absolute_parent(library.main_list, library.uids);
    prefs_set_defaults(prefs, gvar);
  }

  Folder& top() { return *library.main_list.front(); }

  Folder& folder(const std::string& name, Folder* parent = nullptr, bool disabled = false) {
    auto f = std::make_unique<Folder>();
    f->name = name;
    f->uid = library.uids.take();
    f->disabled = disabled ? 1 : 0;
    Folder& into = parent ? *parent : top();
    f->parent = &into;
    into.subfolders.push_back(std::move(f));
    return *into.subfolders.back();
  }

  // A text abbreviation, inserted at the front of its folder as the editor does.
  Abbreviation& add(std::vector<std::string> abbreviations, const std::string& expansion,
                    int trigger_mode = TRIGGER_IMMEDIATELY, int case_mode = CASE_SENSITIVE,
                    Folder* in = nullptr, uint8_t anywhere = 0) {
    auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, nullptr, {case_mode, trigger_mode});
    a->abbreviations = std::move(abbreviations);
    a->expansion() = expansion;
    a->case_mode = case_mode;
    a->trigger_mode = trigger_mode;
    a->anywhere = anywhere;
    return abbr_add_abbrev_to_folder(in ? *in : top(), std::move(a));
  }

  // Starts the engine with `options`, which a test may set up before.
  Simulation& start() {
    abbr_create_sandbox(library);
    simulation = std::make_unique<Simulation>(library, prefs, options);
    return *simulation;
  }

  // Types the keys and answers what the focused application then holds.
  std::string type(const std::string& keys, bool show_caret = false) {
    if (!simulation) start();
    Status typed = simulation->keys(keys);
    EXPECT_TRUE(typed.ok()) << typed.error();
    return simulation->text(show_caret);
  }

  sim::Desktop& desktop() { return simulation->desktop(); }

  SimulationOptions options;
  Library library;
  Settings prefs;
  RunTimeVariables gvar;
  std::unique_ptr<Simulation> simulation;
};

// The fixture of a scenario suite: each test runs once on a desktop that can swallow keys
// and once on one that cannot, with a fresh scenario `s` for the mode.
class InBothModes : public ::testing::TestWithParam<bool> {
 protected:
  bool swallowing() const { return GetParam(); }
  Scenario s{swallowing()};
};

}  // namespace tolvan::testing

// Declares the scenario suite `Suite` (TEST_P(Suite, ...)) and runs it in both modes.
#define SCENARIO_SUITE_IN_BOTH_MODES(Suite)     \
  using Suite = ::tolvan::testing::InBothModes; \
  RUN_IN_BOTH_SWALLOW_MODES(Suite)
