// A simulated desktop with one focused text window, the output thread on top of it, and a
// small stand-in for the hook thread: it records what the output thread posts, turns Caps
// Lock off and on as asked, and while interactive input runs it watches the user's keys the
// way the hook does (characters counted, Tab continues, Escape abandons, caret keys keep
// the default text).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/output/interactive_input_state.h"
#include "engine/output/output_thread.h"
#include "support/typed_record.h"
#include "platform/sim/desktop.h"
#include "platform/sim/user.h"
#include "platform/vk_codes.h"

namespace tolvan::testing {

class FakeHookSide final : public HookSide {
 public:
  FakeHookSide(sim::Desktop& desktop, InteractiveInputState& ii) : desktop_(desktop), ii_(ii) {}

  void post(MonMessage message) override {
    posts.push_back(message);
    if (message == MonMessage::RestoreCapsLock && caps_was_on_ && !desktop_.caps_lock_on()) tap_caps_lock();
    if (message == MonMessage::RestoreCapsLock) caps_was_on_ = false;
  }
  void before_replace() override { ++before_replace_calls; }
  void caps_lock_preppy() override {
    caps_was_on_ = desktop_.caps_lock_on();
    if (caps_was_on_) tap_caps_lock();
  }

  // The hook procedure's part for interactive input; `also` sees every event first and
  // may act on the desktop (switch windows, for instance).
  HookAnswer on_key(const KeyEvent& e) {
    if (also) also(e);
    if (!ii_.mode_enabled() || e.injected || !e.down()) return HookAnswer::Pass;
    if (e.vk == vk::Tab) {
      ii_.set_continue_key_pressed(true);
      return HookAnswer::Swallow;
    }
    if (e.vk == vk::Escape) {
      ii_.set_ended_abruptly(true);
      return HookAnswer::Pass;
    }
    if (mon_vk_will_unselect_selected_text(e.vk)) {
      ii_.set_unselect_key_pressed_first(true);
      return HookAnswer::Pass;
    }
    if (!vk::is_shift(e.vk) && !vk::is_control(e.vk) && !vk::is_alt(e.vk)) ii_.add_chars_typed(1);
    return HookAnswer::Pass;
  }

  std::vector<MonMessage> posts;
  int before_replace_calls = 0;
  std::function<void(const KeyEvent&)> also;

 private:
  void tap_caps_lock() {
    desktop_.send_key(vk::Capital, 0x45, kKeyExtended);
    desktop_.send_key(vk::Capital, 0x45, kKeyExtended | kKeyUp);
  }

  sim::Desktop& desktop_;
  InteractiveInputState& ii_;
  bool caps_was_on_ = false;
};

class RecordingLauncher final : public LaunchHandler {
 public:
  void launch(const Abbreviation& abbreviation, WindowId) override { launched.push_back(abbreviation.description); }
  std::vector<std::string> launched;
};

struct KeysimScene {
  explicit KeysimScene(sim::DesktopOptions options = {}, const sim::Layout& layout = sim::us_layout(),
                       const std::string& class_name = "Edit")
      : desktop(options) {
    window = desktop.add_window(class_name, layout);
    desktop.focus(window);
    EXPECT_TRUE(desktop.install_keyboard([this](const KeyEvent& e) { return hook.on_key(e); }).ok());
  }

  // The user types `typed` (which completes the abbreviation) and the hook hands over the
  // record it would build for it.
  std::unique_ptr<TypedAbbrevInfo> typed(const std::string& typed_text, const std::string& expansion,
                                         int trigger_mode = TRIGGER_IMMEDIATELY) {
    EXPECT_TRUE(user.type(typed_text).ok());
    desktop.wait_input_idle();
    return testing::typed_record(typed_text, expansion, window, CASE_ADAPT, trigger_mode);
  }

  // The replacement of `record` on this thread, until its input has reached the window.
  void run(TypedAbbrevInfo& record) {
    keysim.handle(record);
    desktop.wait_input_idle();
  }
  void expand(const std::string& typed_text, const std::string& expansion,
              int trigger_mode = TRIGGER_IMMEDIATELY) {
    run(*typed(typed_text, expansion, trigger_mode));
  }

  void set_prefs(const std::function<void(OutputPrefs&)>& change) {
    OutputPrefs p = keysim.prefs();
    change(p);
    keysim.set_prefs(p);
  }

  std::string text() const { return desktop.text_with_caret(window); }
  std::string selection() const { return desktop.text_with_selection(window); }

  // The injected events, one formatted line each.
  std::vector<std::string> injected() const {
    std::vector<std::string> lines;
    for (const auto& e : desktop.log().injected()) lines.push_back(sim::EventLog::format(e));
    return lines;
  }
  int count_injected(const std::string& line) const { return count(injected(), line); }
  static int count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }

  // Plays the user on another thread once the output thread waits for the user's typing.
  std::thread user_when_asked(std::function<void(sim::User&)> act) {
    return std::thread([this, act = std::move(act)] {
      while (!keysim.waiting_for_user()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      act(user);
    });
  }

  sim::Desktop desktop;
  sim::User user{desktop};
  WindowId window = 0;
  InteractiveInputState ii;
  FakeHookSide hook{desktop, ii};
  RecordingLauncher launcher;
  OutputThread keysim{desktop.platform(), hook, ii, MacroEnvironment{}, &launcher};
};

}  // namespace tolvan::testing
