// The modifier and Caps Lock bookkeeping around a replacement, step by step on the simulated
// desktop, with the user's hands moving between the steps (the scenario tests cannot time
// the user's keys against the output thread).
#include <gtest/gtest.h>

#include "engine/hook/caps_lock.h"
#include "engine/hook/modifier_keys.h"
#include "platform/sim/desktop.h"
#include "platform/sim/user.h"
#include "platform/vk_codes.h"

namespace tolvan {
namespace {

struct Desk {
  Desk() {
    window = desktop.add_window("Edit", sim::us_layout());
    desktop.focus(window);
    // The disabled hook: Caps Lock events are counted, the user's modifiers followed.
    (void)desktop.install_keyboard([this](const KeyEvent& e) {
      if (e.vk == vk::Capital) caps.count_event();
      else if (ModifierKeys::is_modifier_vk(e.vk) && !e.injected)
        modifiers.update_phys_state(e.vk, e.down());
      return HookAnswer::Pass;
    });
  }
  bool down(uint16_t key) { return desktop.key_state(key) & kKeyDownBit; }

  sim::Desktop desktop;
  sim::User user{desktop};
  WindowId window;
  KeySender keys{desktop.platform()};
  ModifierKeys modifiers;
  ShiftMemory shifts;
  CapsLock caps;
};

TEST(ModifierKeys, HeldModifiersAreReleasedAndPressedAgainOnlyWhileStillHeld) {
  Desk d;
  d.user.press(vk::LShift);
  d.user.press(vk::RControl);
  d.modifiers.record(d.keys, d.desktop, d.shifts, 0);
  d.modifiers.keyup_all(d.keys);
  EXPECT_FALSE(d.down(vk::LShift));
  EXPECT_FALSE(d.down(vk::RControl));
  d.user.release(vk::RControl);  // let go during the replacement
  d.modifiers.restore(d.keys, d.desktop);
  EXPECT_TRUE(d.down(vk::LShift));
  EXPECT_FALSE(d.down(vk::RControl));
}

TEST(ModifierKeys, ReleasingAltEndsWithAnAltTapAndRightAltStaysUp) {
  Desk d;
  d.user.press(vk::RMenu);
  d.desktop.log().clear();
  d.modifiers.record(d.keys, d.desktop, d.shifts, 0);
  d.modifiers.keyup_all(d.keys);
  auto injected = d.desktop.log().injected();
  ASSERT_EQ(injected.size(), 3u);
  EXPECT_EQ(injected[0].key.vk, vk::RMenu);
  EXPECT_TRUE(injected[0].key.up());
  // The generic Alt of the tap arrives as the extended (right) key.
  EXPECT_TRUE(injected[1].key.down());
  EXPECT_TRUE(injected[2].key.up());
  d.modifiers.restore(d.keys, d.desktop);
  EXPECT_FALSE(d.down(vk::RMenu)) << "right Alt is never pressed again";
}

TEST(CapsLock, IsSwitchedOffAndOnAgain) {
  Desk d;
  d.user.tap(vk::Capital);
  ASSERT_TRUE(d.desktop.caps_lock_on());
  d.caps.preppy(d.keys, d.desktop);
  EXPECT_FALSE(d.desktop.caps_lock_on());
  d.caps.restore(d.keys, d.desktop);
  EXPECT_TRUE(d.desktop.caps_lock_on());
}

TEST(CapsLock, IsLeftAsTheUserSetItMeanwhile) {
  Desk d;
  d.user.tap(vk::Capital);
  d.caps.preppy(d.keys, d.desktop);
  d.user.tap(vk::Capital);  // on again by hand
  d.user.tap(vk::Capital);  // and off
  d.caps.restore(d.keys, d.desktop);
  EXPECT_FALSE(d.desktop.caps_lock_on());
}

TEST(CapsLock, OffStaysOff) {
  Desk d;
  d.caps.preppy(d.keys, d.desktop);
  d.caps.restore(d.keys, d.desktop);
  EXPECT_FALSE(d.desktop.caps_lock_on());
  EXPECT_TRUE(d.desktop.log().injected().empty());
}

}  // namespace
}  // namespace tolvan
