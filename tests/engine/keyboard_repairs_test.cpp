// The modifier and Caps Lock bookkeeping around a replacement, step by step on the simulated
// desktop, with the user's hands moving between the steps (the scenario tests cannot time
// the user's keys against the output thread).
#include <gtest/gtest.h>

#include "engine/hook/caps_lock.h"
#include "engine/hook/modifier_keys.h"
#include "platform/sim/desktop.h"
#include "platform/sim/user.h"
#include "platform/vk_codes.h"
#include "support/swallow_modes.h"

namespace tolvan {
namespace {

struct Desk {
  explicit Desk(bool can_swallow = true) : desktop(sim::DesktopOptions{.can_swallow = can_swallow}) {
    window = desktop.add_window("Edit", sim::us_layout());
    desktop.focus(window);
    // The hook: once the replacement started, Caps Lock events are counted and the user's
    // modifiers followed.
    (void)desktop.install_keyboard([this](const KeyEvent& e) {
      if (e.vk != vk::Capital)
        return replacing ? modifiers.follow_user(e, keys, desktop.can_swallow()) : HookAnswer::Pass;
      caps.count_event();
      return HookAnswer::Pass;
    });
  }
  // The modifiers held now are let up for the output.
  void start_replacing() {
    modifiers.record(keys, desktop, shifts, 0);
    modifiers.keyup_all(keys);
    replacing = true;
  }
  bool down(uint16_t key) { return desktop.key_state(key) & kKeyDownBit; }

  sim::Desktop desktop;
  sim::User user{desktop};
  WindowId window;
  KeySender keys{desktop.platform()};
  ModifierKeys modifiers;
  ShiftMemory shifts;
  CapsLock caps;
  bool replacing = false;
};

TEST(ModifierKeys, HeldModifiersAreReleasedAndPressedAgainOnlyWhileStillHeld) {
  Desk d;
  d.user.press(vk::LShift);
  d.user.press(vk::RControl);
  d.start_replacing();
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
  d.start_replacing();
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

// The user's hands on the modifiers while Tolvan types, in both swallow modes.
class UserModifiersWhileTyping : public ::testing::TestWithParam<bool> {};
RUN_IN_BOTH_SWALLOW_MODES(UserModifiersWhileTyping);

TEST_P(UserModifiersWhileTyping, APressMidwayReachesNoCharacterAndIsDownAgainAfterwards) {
  Desk d(GetParam());
  d.start_replacing();
  d.user.press(vk::LControl);
  d.keys.tap('A');
  d.keys.tap('B');
  EXPECT_EQ(d.desktop.text(d.window), "ab") << "typed without the Ctrl pressed meanwhile";
  d.modifiers.restore(d.keys, d.desktop);
  EXPECT_TRUE(d.down(vk::LControl)) << "still held, so down again";
  d.user.release(vk::LControl);
  EXPECT_FALSE(d.down(vk::LControl));
}

TEST_P(UserModifiersWhileTyping, AModifierPressedAndLetGoMidwayStaysUp) {
  Desk d(GetParam());
  d.start_replacing();
  d.user.press(vk::RShift);
  d.user.release(vk::RShift);
  d.user.press(vk::LMenu);
  d.user.release(vk::LMenu);
  d.keys.tap('C');
  d.modifiers.restore(d.keys, d.desktop);
  EXPECT_EQ(d.desktop.text(d.window), "c");
  EXPECT_FALSE(d.down(vk::RShift));
  EXPECT_FALSE(d.down(vk::LMenu));
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
