// tolvan_set_state: the hook moves first, and only a hook that moved is shown.
#include "app/enabled_switch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvan {
namespace {

class FakeHook final : public KeyboardHookSwitch {
 public:
  bool installed = false;
  bool can_change = true;
  bool keyboard_hook_installed() const override { return installed; }
  bool install_keyboard_hook() override { return can_change && (installed = true); }
  bool remove_keyboard_hook() override {
    if (!can_change) return false;
    installed = false;
    return true;
  }
};

class Shown final : public StateListener {
 public:
  std::vector<int> states;
  void app_state_changed(int state) override { states.push_back(state); }
};

TEST(EnabledSwitch, HookFirstThenEveryListener) {
  FakeHook hook;
  EnabledSwitch enabled(hook);
  Shown tray, window;
  enabled.add_listener(&tray);
  enabled.add_listener(&window);
  EXPECT_EQ(enabled.state(), TOLVAN_STATE_DISABLED);
  EXPECT_TRUE(enabled.set_state(TOLVAN_STATE_ENABLED));
  EXPECT_TRUE(hook.installed);
  EXPECT_TRUE(enabled.toggle());
  EXPECT_FALSE(hook.installed);
  EXPECT_EQ(tray.states, (std::vector<int>{0, 1}));
  EXPECT_EQ(window.states, tray.states);

  // Asking for the state it has changes nothing, and is still shown.
  EXPECT_TRUE(enabled.set_state(TOLVAN_STATE_DISABLED));
  EXPECT_EQ(tray.states, (std::vector<int>{0, 1, 1}));
  EXPECT_FALSE(enabled.set_state(2));
  EXPECT_EQ(tray.states.size(), 3u);

  enabled.remove_listener(&window);
  enabled.toggle();
  EXPECT_EQ(window.states.size(), 3u);
}

TEST(EnabledSwitch, HookThatCannotMoveChangesNothing) {
  FakeHook hook;
  hook.can_change = false;
  EnabledSwitch enabled(hook);
  Shown tray;
  enabled.add_listener(&tray);
  EXPECT_FALSE(enabled.set_state(TOLVAN_STATE_ENABLED));
  EXPECT_FALSE(enabled.toggle());
  EXPECT_EQ(enabled.state(), TOLVAN_STATE_DISABLED);
  EXPECT_TRUE(tray.states.empty());
}

}  // namespace
}  // namespace tolvan
