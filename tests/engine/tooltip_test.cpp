// The expansion preview: when it shows, where, what it says, and how newer previews and
// typing on outdate older ones.
#include <gtest/gtest.h>

#include "engine/tooltip/tooltip.h"
#include "library/folder_tree.h"
#include "platform/sim/desktop.h"
#include "settings/prefs.h"
#include "support/tooltip_doubles.h"

namespace tolvan {
namespace {

std::unique_ptr<Abbreviation> text_abbrev(const std::string& expansion, int case_mode) {
  auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, nullptr, {case_mode, TRIGGER_WORD_ENDING});
  a->abbreviations = {"btw"};
  a->expansion() = expansion;
  return a;
}

struct Preview {
  Preview() {
    window = desktop.add_window("Edit", sim::us_layout(), "some text");
    desktop.focus(window);
    RunTimeVariables gvar;
    prefs_set_defaults(prefs, gvar);
    tooltip.set_prefs(prefs);
  }
  sim::Desktop desktop;
  WindowId window;
  Settings prefs;
  RecordingTooltipView view;
  ManualTimers timers;
  Tooltip tooltip{view, timers, desktop, MacroEnvironment{}};
};

TEST(Tooltip, ShowsTheCaseAdaptedExpansionBelowTheCaretThenHidesOnTime) {
  Preview p;
  auto a = text_abbrev("by the way", CASE_ADAPT);
  p.tooltip.schedule(*a, "Btw");
  ASSERT_EQ(p.timers.pending.size(), 2u);
  EXPECT_EQ(p.timers.pending[0].first, 20u);
  EXPECT_EQ(p.timers.pending[1].first, 3020u);
  a.reset();  // the preview holds its own copy
  p.timers.run(0);
  ASSERT_EQ(p.view.shown.size(), 1u);
  std::optional<Caret> caret = p.desktop.caret();
  ASSERT_TRUE(caret && caret->reported);
  EXPECT_EQ(p.view.shown[0].x, caret->rect.left);
  EXPECT_EQ(p.view.shown[0].y, caret->rect.bottom);
  EXPECT_EQ(p.view.shown[0].text, "By the way");
  EXPECT_TRUE(p.tooltip.visible());
  p.timers.run(1);
  EXPECT_FALSE(p.tooltip.visible());
  EXPECT_EQ(p.view.hides, 1);
}

TEST(Tooltip, ANewerPreviewOutdatesTheOlderCallbacks) {
  Preview p;
  auto first = text_abbrev("first", CASE_SENSITIVE);
  auto second = text_abbrev("second", CASE_SENSITIVE);
  p.tooltip.schedule(*first, "btw");
  p.tooltip.schedule(*second, "btw");
  p.timers.run(0);  // the first show
  EXPECT_TRUE(p.view.shown.empty());
  p.timers.run(2);  // the second show
  ASSERT_EQ(p.view.shown.size(), 1u);
  EXPECT_EQ(p.view.shown[0].text, "second");
  p.timers.run(1);  // the first hide
  EXPECT_TRUE(p.tooltip.visible());
  p.timers.run(3);
  EXPECT_FALSE(p.tooltip.visible());
}

TEST(Tooltip, TypingOnBeforeItShowsCallsItOff) {
  Preview p;
  auto a = text_abbrev("by the way", CASE_SENSITIVE);
  p.tooltip.schedule(*a, "btw");
  p.tooltip.hide();
  p.timers.run(0);
  EXPECT_TRUE(p.view.shown.empty());
  EXPECT_EQ(p.view.hides, 0) << "nothing was shown, so nothing is hidden";
}

TEST(Tooltip, LaunchersSayWhatTheyLaunch) {
  Preview p;
  auto program = abbr_create_new_abbrev(ABBR_TYPE_PROGRAM, nullptr, {});
  program->description = "Editor";
  program->program().location = "/usr/bin/gedit";
  auto site = abbr_create_new_abbrev(ABBR_TYPE_WEBSITE, nullptr, {});
  site->website().address = "https://example.org";
  auto empty = abbr_create_new_abbrev(ABBR_TYPE_WEBSITE, nullptr, {});
  p.tooltip.schedule(*program, "ed");
  p.timers.run(0);
  p.tooltip.schedule(*site, "ex");
  p.timers.run(2);
  p.tooltip.schedule(*empty, "em");
  p.timers.run(4);
  ASSERT_EQ(p.view.shown.size(), 3u);
  EXPECT_EQ(p.view.shown[0].text, "Launch Editor (/usr/bin/gedit)");
  EXPECT_EQ(p.view.shown[1].text, "Launch https://example.org");
  EXPECT_EQ(p.view.shown[2].text, "Launch https://example.org") << "the last text stays";
}

TEST(Tooltip, AnUnreportedCaretPutsItAtTheWindowUnlessTheUserSaidNo) {
  Preview p;
  p.desktop.set_reports_caret(p.window, false);
  auto a = text_abbrev("by the way", CASE_SENSITIVE);
  p.tooltip.schedule(*a, "btw");
  p.timers.run(0);
  ASSERT_EQ(p.view.shown.size(), 1u);
  std::optional<Caret> caret = p.desktop.caret();
  ASSERT_TRUE(caret && !caret->reported);
  EXPECT_EQ(p.view.shown[0].x, caret->rect.left);

  p.prefs.set_int("dont_tooltip_invalid_cursor", 1);
  p.tooltip.set_prefs(p.prefs);
  p.tooltip.schedule(*a, "btw");
  p.timers.run(2);
  EXPECT_EQ(p.view.shown.size(), 1u);
}

TEST(Tooltip, NotShownWhenTheFocusMovedIntoAPasswordField) {
  Preview p;
  auto a = text_abbrev("by the way", CASE_SENSITIVE);
  p.tooltip.schedule(*a, "btw");
  p.desktop.with_field(p.window, [](sim::TextField& field) { field.set_secret(true); });
  p.timers.run(0);
  EXPECT_TRUE(p.view.shown.empty());
  EXPECT_FALSE(p.tooltip.visible());

  p.desktop.with_field(p.window, [](sim::TextField& field) { field.set_secret(false); });
  p.tooltip.schedule(*a, "btw");
  p.timers.run(2);
  EXPECT_EQ(p.view.shown.size(), 1u);
}

TEST(Tooltip, NothingAfterDestroy) {
  Preview p;
  auto a = text_abbrev("by the way", CASE_SENSITIVE);
  p.tooltip.schedule(*a, "btw");
  p.tooltip.destroy();
  p.timers.run(0);
  p.tooltip.schedule(*a, "btw");
  EXPECT_TRUE(p.view.shown.empty());
  EXPECT_EQ(p.timers.pending.size(), 2u);
}

}  // namespace
}  // namespace tolvan
