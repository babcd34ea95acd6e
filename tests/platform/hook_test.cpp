// The keyboard hook on the simulated desktop: what it sees, swallowing, injected input fed
// back through it, dead keys consumed by translation (and the replay that repairs them),
// the observing (no-swallow) desktop with grabbed keys, hotkeys and the mouse.
#include <gtest/gtest.h>

#include <thread>

#include "core/utf.h"
#include "platform/sim/desktop.h"
#include "platform/sim/user.h"
#include "platform/vk_codes.h"

namespace tolvan::sim {
namespace {

struct Scene {
  explicit Scene(const Layout& layout = us_layout(), DesktopOptions options = {})
      : desktop(options) {
    window = desktop.add_window("Edit", layout);
    desktop.focus(window);
  }
  std::string text() const { return desktop.text(window); }
  std::vector<std::string> log_lines() const {
    std::vector<std::string> lines;
    for (const auto& e : desktop.log().events()) lines.push_back(EventLog::format(e));
    return lines;
  }
  Desktop desktop;
  User user{desktop};
  WindowId window;
};

TEST(Hook, SeesEveryEventWithCodesScanCodesAndTimeBeforeTheApplication) {
  Scene s;
  std::vector<KeyEvent> seen;
  std::vector<std::string> text_when_seen;
  ASSERT_TRUE(s.desktop.install_keyboard([&](const KeyEvent& e) {
    seen.push_back(e);
    text_when_seen.push_back(s.desktop.text(s.window));
    return HookAnswer::Pass;
  }).ok());
  s.user.wait(1000);
  ASSERT_TRUE(s.user.type("A").ok());
  s.user.tap(vk::Left);
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[0].vk, vk::LShift);
  EXPECT_EQ(seen[0].scan, 0x2A);
  EXPECT_EQ(seen[1].vk, 'A');
  EXPECT_EQ(seen[1].scan, 0x1E);
  EXPECT_TRUE(seen[1].down());
  EXPECT_FALSE(seen[1].injected);
  EXPECT_EQ(seen[1].time_ms, 1000u);
  EXPECT_EQ(text_when_seen[1], "") << "the hook runs before the application gets the key";
  EXPECT_EQ(seen[4].vk, vk::Left);
  EXPECT_TRUE(seen[4].extended);
  EXPECT_EQ(seen[4].scan, 0x4B);
  // State queries inside the hook do not yet include the current event.
  EXPECT_EQ(s.text(), "A");
}

TEST(Hook, SwallowedKeysReachNoApplicationAndLeaveKeyStateAlone) {
  Scene s;
  ASSERT_TRUE(s.desktop.install_keyboard([](const KeyEvent& e) {
    return e.vk == 'Q' || e.vk == vk::LShift ? HookAnswer::Swallow : HookAnswer::Pass;
  }).ok());
  ASSERT_TRUE(s.user.type("aqbB").ok());
  EXPECT_EQ(s.text(), "abb") << "the Q never arrives, and a swallowed Shift leaves the B unshifted";
  s.user.press(vk::LShift);
  EXPECT_TRUE(s.desktop.user_holds(vk::LShift));
  EXPECT_FALSE(s.desktop.async_down(vk::LShift));
  EXPECT_FALSE(s.desktop.key_state(vk::Shift) & kKeyDownBit);
  s.user.release(vk::LShift);
  ASSERT_TRUE(s.desktop.uninstall_keyboard().ok());
  ASSERT_TRUE(s.user.type("x").ok());
  EXPECT_EQ(s.text(), "abbx");
}

TEST(Hook, InjectedInputIsFlaggedAndFedBackThroughTheHookInOrder) {
  Scene s;
  Platform p = s.desktop.platform();
  std::vector<std::string> seen;
  ASSERT_TRUE(p.hook->install_keyboard([&](const KeyEvent& e) {
    seen.push_back(std::string(e.injected ? "i" : "u") + (e.down() ? "+" : "-") + vk_name(e.vk));
    // Input sent from inside the hook comes back through it before the send returns, and
    // reaches the application before the event the hook is answering.
    if (!e.injected && e.vk == 'A' && e.down()) {
      p.input->send_key('B', 0x30, 0);
      seen.push_back("sent B");
      p.input->send_key('B', 0x30, kKeyUp);
    }
    return HookAnswer::Pass;
  }).ok());
  s.user.tap('A');
  EXPECT_EQ(s.text(), "ba");
  EXPECT_EQ(seen, (std::vector<std::string>{"u+A", "i+B", "sent B", "i-B", "u-A"}));
  // A Unicode character arrives as a packet; a posted character skips the hook.
  seen.clear();
  p.input->send_unicode(u'€', false);
  p.input->send_unicode(u'€', true);
  EXPECT_TRUE(p.input->post_char(s.window, u'\r'));
  EXPECT_EQ(s.text(), "ba€\n");
  EXPECT_EQ(seen, (std::vector<std::string>{"i+Packet", "i-Packet"}));
  auto injected = s.desktop.log().injected();
  ASSERT_EQ(injected.size(), 5u);
  EXPECT_EQ(EventLog::format(injected[2]), "inject down U+20AC '€'");
  EXPECT_EQ(EventLog::format(injected[4]), "post '\r'");
}

TEST(Hook, GenericModifierCodesBecomeLeftOrRightKeys) {
  Scene s(german_layout());
  std::vector<uint16_t> seen;
  ASSERT_TRUE(s.desktop.install_keyboard([&](const KeyEvent& e) {
    if (e.down()) seen.push_back(e.vk);
    return HookAnswer::Pass;
  }).ok());
  Platform p = s.desktop.platform();
  p.input->send_key(vk::Shift, 0x2A, 0);
  p.input->send_key(vk::Shift, 0x36, 0);
  p.input->send_key(vk::Control, 0x1D, kKeyExtended);
  p.input->send_key(vk::Menu, 0x38, 0);
  // On an AltGr layout an extended Alt is AltGr, which brings a left Ctrl.
  p.input->send_key(vk::Menu, 0x38, kKeyExtended);
  EXPECT_EQ(seen, (std::vector<uint16_t>{vk::LShift, vk::RShift, vk::RControl, vk::LMenu,
                                         vk::LControl, vk::RMenu}));
  EXPECT_TRUE(p.keyboard->async_down(vk::Shift));
  EXPECT_TRUE(p.keyboard->key_state(vk::Control) & kKeyDownBit);
}

TEST(Hook, AltGrTypedOrInjectedOnGermanGivesAltGrCharacters) {
  Scene s(german_layout());
  Platform p = s.desktop.platform();
  // As the output side types a character that VkKeyScanExW reports as Ctrl+Alt.
  int16_t code = p.keyboard->vk_key_scan(u'@', p.keyboard->layout_of(s.window));
  ASSERT_EQ(code >> 8, kScanCtrl | kScanAlt);
  p.input->send_key(vk::RMenu, 0x38, kKeyExtended);
  p.input->send_key(code & 0xFF, 0x10, 0);
  p.input->send_key(code & 0xFF, 0x10, kKeyUp);
  p.input->send_key(vk::RMenu, 0x38, kKeyExtended | kKeyUp);
  EXPECT_EQ(s.text(), "@");
  EXPECT_FALSE(p.keyboard->async_down(vk::LControl)) << "the fake left Ctrl is released with AltGr";
}

// A hook that translates every key-down with the foreground layout, as the engine does.
struct TranslatingHook {
  explicit TranslatingHook(Desktop& desktop) : p(desktop.platform()) {}
  int translate(const KeyEvent& e) {
    std::u16string out;
    auto state = p.keyboard->keyboard_state();
    return p.keyboard->to_unicode(e.vk, e.scan, *state, out, p.keyboard->layout_of(p.windows->foreground()));
  }
  Platform p;
};

TEST(DeadKeys, TranslatingADeadKeyInTheHookConsumesIt) {
  Scene s(us_international_layout());
  TranslatingHook hook(s.desktop);
  ASSERT_TRUE(s.desktop.install_keyboard([&](const KeyEvent& e) {
    if (e.down()) hook.translate(e);
    return HookAnswer::Pass;
  }).ok());
  ASSERT_TRUE(s.user.type("é").ok());
  EXPECT_EQ(s.text(), "''e") << "the application saw the dead key twice and lost the composition";
}

TEST(DeadKeys, WhereTranslationDoesNotConsumeTheApplicationComposesUndisturbed) {
  Scene s(us_international_layout(), {.translation_consumes_dead_keys = false});
  TranslatingHook hook(s.desktop);
  std::vector<int> answers;
  ASSERT_TRUE(s.desktop.install_keyboard([&](const KeyEvent& e) {
    if (e.down()) answers.push_back(hook.translate(e));
    return HookAnswer::Pass;
  }).ok());
  ASSERT_TRUE(s.user.type("é").ok());
  EXPECT_EQ(s.text(), "é");
  EXPECT_EQ(answers, (std::vector<int>{-1, 1}));
  EXPECT_FALSE(s.desktop.translation_consumes_dead_keys());
}

TEST(DeadKeys, SwallowingAndReplayingTheDeadKeyRestoresComposition) {
  // The replay as the engine does it: the dead key is swallowed when first translated; the
  // next key is translated (composing), swallowed, and both are sent again, each marked
  // just before it is sent as the one key-down the hook lets through untouched.
  Scene s(german_layout());
  Platform p = s.desktop.platform();
  uint16_t pending = 0, pending_scan = 0, ignore_next = 0;
  std::string hook_text;
  ASSERT_TRUE(p.hook->install_keyboard([&](const KeyEvent& e) {
    if (ignore_next && ignore_next == e.vk && e.down()) {
      ignore_next = 0;
      return HookAnswer::Pass;
    }
    if (!e.down()) return HookAnswer::Pass;
    std::u16string out;
    int n = p.keyboard->to_unicode(e.vk, e.scan, *p.keyboard->keyboard_state(), out,
                                   p.keyboard->layout_of(p.windows->foreground()));
    if (n == -1 && !pending) {
      pending = e.vk;
      pending_scan = e.scan;
      return HookAnswer::Swallow;
    }
    if (n > 0) hook_text += u16_to_utf8(out);
    if (!pending) return HookAnswer::Pass;
    uint16_t dead = std::exchange(pending, 0);
    ignore_next = dead;
    p.input->send_key(dead, pending_scan, kKeyExtended);
    p.input->send_key(dead, pending_scan, kKeyUp | kKeyExtended);
    ignore_next = e.vk;
    p.input->send_key(e.vk, e.scan, 0);
    p.input->send_key(e.vk, e.scan, kKeyUp);
    return HookAnswer::Swallow;
  }).ok());
  ASSERT_TRUE(s.user.type("é ê x").ok());
  EXPECT_EQ(s.text(), "é ê x");
  EXPECT_EQ(hook_text, "é ê x") << "the hook saw the composed characters too";
  EXPECT_EQ(ignore_next, 0);
}

TEST(NoSwallow, WhatTheHookSendsInAnswerComesAfterTheKeyItSaw) {
  // A hook that can swallow runs before the application gets the key, and what it sends
  // meanwhile arrives first; an observing hook (X11) sees a key the application already
  // has. Here the hook answers "b" with a Backspace.
  for (const bool can_swallow : {true, false}) {
    Scene s(us_layout(), {.can_swallow = can_swallow});
    Platform p = s.desktop.platform();
    ASSERT_TRUE(p.hook->install_keyboard([&p](const KeyEvent& e) {
      if (e.vk == 'B' && e.down() && !e.injected) {
        p.input->send_key(vk::Back, 0x0E, 0);
        p.input->send_key(vk::Back, 0x0E, kKeyUp);
      }
      return HookAnswer::Pass;
    }).ok());
    ASSERT_TRUE(s.user.type("ab").ok());
    EXPECT_EQ(s.text(), can_swallow ? "b" : "a") << "can swallow: " << can_swallow;
  }
}

TEST(NoSwallow, SwallowIsIgnoredButGrabbedKeysNeverArrive) {
  Scene s(us_layout(), {.can_swallow = false});
  Platform p = s.desktop.platform();
  EXPECT_FALSE(p.hook->can_swallow());
  std::vector<uint16_t> hook_saw;
  ASSERT_TRUE(p.hook->install_keyboard([&](const KeyEvent& e) {
    if (e.down()) hook_saw.push_back(e.vk);
    return HookAnswer::Swallow;
  }).ok());
  ASSERT_TRUE(s.user.type("ab\t").ok());
  EXPECT_EQ(s.text(), "ab\t") << "passively observed keys reach the application";
  ASSERT_TRUE(p.hook->grab_key(vk::Tab).ok());
  ASSERT_TRUE(s.user.type("\tc").ok());
  EXPECT_EQ(s.text(), "ab\tc");
  EXPECT_EQ(hook_saw, (std::vector<uint16_t>{'A', 'B', vk::Tab, vk::Tab, 'C'}));
  EXPECT_EQ(s.desktop.log().events()[6].fate, EventFate::Grabbed);
  p.hook->ungrab_key(vk::Tab);
  ASSERT_TRUE(s.user.type("\t").ok());
  EXPECT_EQ(s.text(), "ab\tc\t");
  // The same swallowing hook with swallowing available keeps everything out.
  Scene windows;
  ASSERT_TRUE(windows.desktop.install_keyboard([](const KeyEvent&) { return HookAnswer::Swallow; }).ok());
  ASSERT_TRUE(windows.user.type("ab").ok());
  EXPECT_EQ(windows.text(), "");
}

TEST(Hook, InstallCanFailAndKeyboardStateCanBeUnavailable) {
  Scene s;
  s.desktop.fail_next_hook_install();
  Status failed = s.desktop.install_keyboard([](const KeyEvent&) { return HookAnswer::Pass; });
  EXPECT_FALSE(failed.ok());
  EXPECT_EQ(failed.error(), "Could not install the keyboard hook.");
  EXPECT_FALSE(s.desktop.keyboard_hook_installed());
  EXPECT_TRUE(s.desktop.install_keyboard([](const KeyEvent&) { return HookAnswer::Pass; }).ok());
  EXPECT_TRUE(s.desktop.keyboard_hook_installed());
  s.desktop.fail_next_hook_uninstall();
  EXPECT_EQ(s.desktop.uninstall_keyboard().error(), "Could not remove the keyboard hook.");
  EXPECT_TRUE(s.desktop.keyboard_hook_installed());
  EXPECT_TRUE(s.desktop.uninstall_keyboard().ok());
  EXPECT_FALSE(s.desktop.keyboard_hook_installed());
  s.desktop.set_keyboard_state_fails(true);
  EXPECT_FALSE(s.desktop.keyboard_state().has_value());
}

TEST(Hook, MouseButtonsGoToTheMouseCallback) {
  Scene s;
  std::vector<std::pair<MouseButton, bool>> clicks;
  ASSERT_TRUE(s.desktop.install_mouse([&](const MouseEvent& e) { clicks.push_back({e.button, e.down}); }).ok());
  s.user.click();
  s.user.click(MouseButton::Right);
  EXPECT_EQ(clicks, (std::vector<std::pair<MouseButton, bool>>{
                        {MouseButton::Left, true}, {MouseButton::Left, false},
                        {MouseButton::Right, true}, {MouseButton::Right, false}}));
  EXPECT_EQ(s.log_lines().front(), "mouse down left");
}

TEST(Hotkeys, RegisteredCombinationGoesToTheHandlerNotTheApplication) {
  Scene s;
  Platform p = s.desktop.platform();
  std::vector<int> pressed;
  p.hotkeys->set_handler([&](int id) { pressed.push_back(id); });
  ASSERT_TRUE(p.hotkeys->register_hotkey(171, kModControl | kModAlt, 'L'));
  EXPECT_FALSE(p.hotkeys->register_hotkey(172, kModControl | kModAlt, 'L')) << "taken";
  EXPECT_FALSE(p.hotkeys->register_hotkey(173, kModControl, 0));
  s.user.press(vk::LControl);
  s.user.press(vk::LMenu);
  s.user.tap('L');
  s.user.release(vk::LMenu);
  s.user.release(vk::LControl);
  ASSERT_TRUE(s.user.type("l").ok());  // without the modifiers it is a letter
  EXPECT_EQ(pressed, std::vector<int>{171});
  EXPECT_EQ(s.text(), "l");
  p.hotkeys->unregister_hotkey(171);
  s.user.press(vk::LControl);
  s.user.press(vk::LMenu);
  s.user.tap('L');
  s.user.release(vk::LMenu);
  s.user.release(vk::LControl);
  EXPECT_EQ(pressed.size(), 1u);
}

TEST(Concurrency, InputFromAnotherThreadIsHandledInOrderWithTheUsersKeys) {
  Scene s;
  Platform p = s.desktop.platform();
  std::atomic<int> hook_calls = 0;
  std::atomic<bool> inside = false, overlapped = false;
  ASSERT_TRUE(p.hook->install_keyboard([&](const KeyEvent&) {
    if (inside.exchange(true)) overlapped = true;
    ++hook_calls;
    inside = false;
    return HookAnswer::Pass;
  }).ok());
  std::thread output([&] {
    for (int i = 0; i < 200; ++i) {
      p.input->send_key('X', 0x2D, 0);
      p.input->send_key('X', 0x2D, kKeyUp);
    }
  });
  for (int i = 0; i < 200; ++i) s.user.tap('Y');
  output.join();
  s.desktop.wait_input_idle();
  EXPECT_FALSE(overlapped) << "hook callbacks never run at the same time";
  EXPECT_EQ(hook_calls, 800);
  std::string text = s.text();
  EXPECT_EQ(std::count(text.begin(), text.end(), 'x'), 200);
  EXPECT_EQ(std::count(text.begin(), text.end(), 'y'), 200);
}

TEST(Hook, InjectedCapsLockTapTogglesAndPassesTheHookBothWays) {
  Scene s;
  Platform p = s.desktop.platform();
  int caps_events = 0;
  ASSERT_TRUE(p.hook->install_keyboard([&](const KeyEvent& e) {
    if (e.vk == vk::Capital) ++caps_events;
    return HookAnswer::Pass;
  }).ok());
  s.user.tap(vk::Capital);
  ASSERT_TRUE(p.keyboard->key_state(vk::Capital) & kKeyToggledBit);
  // Switching it off for typed output, as the output side does.
  p.input->send_key(vk::Capital, 0x45, kKeyExtended);
  p.input->send_key(vk::Capital, 0x45, kKeyExtended | kKeyUp);
  EXPECT_FALSE(p.keyboard->key_state(vk::Capital) & kKeyToggledBit);
  EXPECT_EQ(caps_events, 4);
  ASSERT_TRUE(s.user.type("Ab").ok());
  EXPECT_EQ(s.text(), "Ab");
}

TEST(Hook, InjectedKeyUpOfAHeldModifierLeavesItUpUntilPressedAgain) {
  Scene s;
  Platform p = s.desktop.platform();
  s.user.press(vk::LShift);
  ASSERT_TRUE(p.keyboard->async_down(vk::LShift));
  // Released for a replacement while the user still holds it.
  p.input->send_key(vk::LShift, 0x2A, kKeyUp);
  EXPECT_FALSE(p.keyboard->async_down(vk::LShift));
  EXPECT_FALSE(p.keyboard->async_down(vk::Shift));
  EXPECT_TRUE(s.desktop.user_holds(vk::LShift));
  ASSERT_TRUE(s.user.type("a").ok());
  // Pressed again afterwards, the user's Shift counts once more.
  p.input->send_key(vk::LShift, 0x2A, 0);
  s.user.tap('B');
  s.user.release(vk::LShift);
  EXPECT_FALSE(s.desktop.user_holds(vk::LShift));
  EXPECT_FALSE(p.keyboard->async_down(vk::LShift));
  EXPECT_EQ(s.text(), "aB");
}

TEST(Sound, PopsAreCounted) {
  Desktop desktop;
  desktop.platform().sound->play_pop();
  desktop.platform().sound->play_pop();
  EXPECT_EQ(desktop.pops_played(), 2);
}

}  // namespace
}  // namespace tolvan::sim
