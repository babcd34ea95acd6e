// The application hotkeys on the simulated desktop: the user presses combinations, the
// actions that run are recorded.
#include "launch/app_hotkeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/hotkey_dispatcher.h"
#include "launch/hotkey_string.h"
#include "library/library.h"
#include "platform/sim/desktop.h"
#include "platform/sim/user.h"
#include "platform/vk_codes.h"

namespace tolvan {
namespace {

using sim::Desktop;
using sim::User;

struct RecordedActions : HotkeyActions {
  std::vector<std::string> done;
  void show_launchpad() override { done.push_back("launchpad"); }
  void toggle_status() override { done.push_back("toggle"); }
  void show_main_window() override { done.push_back("main window"); }
  void show_abbrev_menu() override { done.push_back("menu"); }
};

struct Scene {
  Scene() {
    window = desktop.add_window("Edit", sim::us_layout());
    desktop.focus(window);
  }
  // Holds the modifiers (left keys) around a tap of `key`.
  void press_combo(std::vector<uint16_t> modifiers, uint16_t key) {
    for (uint16_t m : modifiers) user.press(m);
    user.tap(key);
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) user.release(*m);
  }
  // The presses of `app`'s hotkeys reach it while the answer lives.
  HotkeyDispatcher route(AppHotkeys& app) { return HotkeyDispatcher(desktop, app, folders); }
  Desktop desktop;
  User user{desktop};
  WindowId window;
  Settings prefs;
  RecordedActions actions;
  Library library;
  FolderHotkeys folders{desktop, library, nullptr};
};

TEST(HotkeyString, ModifiersInAnyOrderAndTheLastKeyCounts) {
  HotkeyCombo ctrl_alt_l = hotkey_string_to_ints("17 18 76");
  EXPECT_EQ(ctrl_alt_l.modifiers, kModControl | kModAlt);
  EXPECT_EQ(ctrl_alt_l.key, uint16_t{76});
  EXPECT_EQ(hotkey_string_to_ints("18 17 76").modifiers, ctrl_alt_l.modifiers);

  HotkeyCombo win_space = hotkey_string_to_ints("91 32");
  EXPECT_EQ(win_space.modifiers, kModWin);
  EXPECT_EQ(win_space.key, uint16_t{32});

  EXPECT_EQ(hotkey_string_to_ints("65 16 66").key, uint16_t{66});
  EXPECT_EQ(hotkey_string_to_ints("65 16 66").modifiers, kModShift);
  EXPECT_EQ(hotkey_string_to_ints("  17   32 ").key, uint16_t{32}) << "empty tokens are ignored";
}

TEST(HotkeyString, ModifiersAloneOrNothingGiveNoKey) {
  EXPECT_FALSE(hotkey_string_to_ints("17 16").key);
  EXPECT_EQ(hotkey_string_to_ints("17 16").modifiers, kModControl | kModShift);
  EXPECT_FALSE(hotkey_string_to_ints("").key);
  EXPECT_EQ(hotkey_string_to_ints("").modifiers, 0u);
}

TEST(AppHotkeys, EachSwitchedOnHotkeyRunsItsAction) {
  Scene s;
  s.prefs.set("launchpad_enable", "1");
  s.prefs.set("launchpad_hotkey", "17 32");
  s.prefs.set("ed_enable", "1");
  s.prefs.set("ed_hotkey", "17 18 84");
  s.prefs.set("dmw_enable", "1");
  s.prefs.set("dmw_hotkey", "16 17 77");
  s.prefs.set("acm_enable", "1");
  s.prefs.set("acm_hotkey", "91 65");
  AppHotkeys hotkeys(s.desktop, s.prefs, s.actions);
  HotkeyDispatcher dispatcher = s.route(hotkeys);
  EXPECT_EQ(hotkeys.register_all(), 4);

  s.press_combo({vk::LControl}, vk::Space);
  s.press_combo({vk::LControl, vk::LMenu}, 'T');
  s.press_combo({vk::LShift, vk::LControl}, 'M');
  s.press_combo({vk::LWin}, 'A');
  s.press_combo({vk::LControl}, 'T');  // not a hotkey: the application gets it
  EXPECT_EQ(s.actions.done, (std::vector<std::string>{"launchpad", "toggle", "main window", "menu"}));
}

TEST(AppHotkeys, SwitchedOffModifiersOnlyAndTakenCombinationsAreNotRegistered) {
  Scene s;
  s.prefs.set("launchpad_enable", "0");
  s.prefs.set("launchpad_hotkey", "17 32");
  s.prefs.set("ed_enable", "1");
  s.prefs.set("ed_hotkey", "17 18");  // no key
  s.prefs.set("dmw_enable", "1");
  s.prefs.set("dmw_hotkey", "17 18 77");
  s.prefs.set("acm_enable", "1");
  s.prefs.set("acm_hotkey", "17 18 77");  // the same as the main window's: already taken
  AppHotkeys hotkeys(s.desktop, s.prefs, s.actions);
  HotkeyDispatcher dispatcher = s.route(hotkeys);
  EXPECT_EQ(hotkeys.register_all(), 1);

  s.press_combo({vk::LControl}, vk::Space);
  s.press_combo({vk::LControl, vk::LMenu}, 'M');
  EXPECT_EQ(s.actions.done, std::vector<std::string>{"main window"});
}

TEST(AppHotkeys, AHotkeySwitchedOffAfterRegistrationDoesNothing) {
  Scene s;
  s.prefs.set("ed_enable", "1");
  s.prefs.set("ed_hotkey", "17 18 84");
  AppHotkeys hotkeys(s.desktop, s.prefs, s.actions);
  HotkeyDispatcher dispatcher = s.route(hotkeys);
  ASSERT_EQ(hotkeys.register_all(), 1);
  s.prefs.set("ed_enable", "0");
  s.press_combo({vk::LControl, vk::LMenu}, 'T');
  EXPECT_TRUE(s.actions.done.empty());
  EXPECT_EQ(s.desktop.text(s.window), "") << "the combination is still held by Tolvan";
}

TEST(AppHotkeys, UnregisteredCombinationsGoBackToTheApplication) {
  Scene s;
  s.prefs.set("ed_enable", "1");
  s.prefs.set("ed_hotkey", "16 84");  // Shift+T
  {
    AppHotkeys hotkeys(s.desktop, s.prefs, s.actions);
  HotkeyDispatcher dispatcher = s.route(hotkeys);
    ASSERT_EQ(hotkeys.register_all(), 1);
    s.press_combo({vk::LShift}, 'T');
    hotkeys.unregister_all();
    s.press_combo({vk::LShift}, 'T');
  }
  EXPECT_EQ(s.actions.done, std::vector<std::string>{"toggle"});
  EXPECT_EQ(s.desktop.text(s.window), "T");
}

TEST(AppHotkeys, HotkeysOfActionsTheProgramLacksStayWithTheApplications) {
  struct ToggleOnly final : RecordedActions {
    bool provides(int id) const override { return id == kToggleStatusHotkeyId; }
  } actions;
  Scene s;
  s.prefs.set("launchpad_enable", "1");
  s.prefs.set("launchpad_hotkey", "16 65");  // Shift+A
  s.prefs.set("ed_enable", "1");
  s.prefs.set("ed_hotkey", "16 66");  // Shift+B
  AppHotkeys hotkeys(s.desktop, s.prefs, actions);
  HotkeyDispatcher dispatcher = s.route(hotkeys);
  EXPECT_EQ(hotkeys.register_all(), 1);
  s.press_combo({vk::LShift}, 'A');
  s.press_combo({vk::LShift}, 'B');
  EXPECT_EQ(actions.done, std::vector<std::string>{"toggle"});
  EXPECT_EQ(s.desktop.text(s.window), "A");
}

}  // namespace
}  // namespace tolvan
