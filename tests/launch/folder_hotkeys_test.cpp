// Folder hotkeys on the simulated desktop: the library's folders carry hotkeys, the user
// presses them, the folder menus that pop up are recorded.
#include "launch/folder_hotkeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/hotkey_dispatcher.h"
#include "library/library.h"
#include "platform/sim/desktop.h"
#include "platform/sim/user.h"
#include "platform/vk_codes.h"
#include "support/random_library.h"

namespace tolvan {
namespace {

using testing::add_folder;
using testing::add_top;

struct RecordedMenus : FolderMenu {
  std::vector<std::string> shown;
  void show_folder_menu(const Folder& folder) override { shown.push_back(folder.name); }
};

struct NoActions : HotkeyActions {
  void show_launchpad() override {}
  void toggle_status() override {}
  void show_main_window() override {}
  void show_abbrev_menu() override {}
};

Folder& with_hotkey(Folder& folder, const char* hotkey, bool enabled = true) {
  folder.menu_hotkey = hotkey;
  folder.menu_hotkey_enabled = enabled ? 1 : 0;
  return folder;
}

// A library whose main list is
//   All / Mail (Shift+M) / Replies (Shift+R)
//   All / Code (off, Shift+C) / Snippets (Shift+S)
//   All / Plain (no hotkey)
struct Scene {
  Scene() {
    window = desktop.add_window("Edit", sim::us_layout());
    desktop.focus(window);
    Folder& top = add_top(library.main_list);
    Folder& mail = with_hotkey(add_folder(top, "Mail"), "16 77");
    with_hotkey(add_folder(mail, "Replies"), "16 82");
    Folder& code = with_hotkey(add_folder(top, "Code"), "16 67", false);
    with_hotkey(add_folder(code, "Snippets"), "16 83");
    add_folder(top, "Plain");
    abbr_create_sandbox(library);
  }
  void press_shift(uint16_t key) {
    user.press(vk::LShift);
    user.tap(key);
    user.release(vk::LShift);
  }
  Folder& main_folder(const std::string& path) { return find(library.main_list, path); }
  Folder& sandbox_folder(const std::string& path) { return find(library.sandbox, path); }
  static Folder& find(FolderList& list, const std::string& path) {
    Folder* folder = list.front().get();
    size_t start = 0;
    while (start < path.size()) {
      size_t end = path.find('/', start);
      if (end == std::string::npos) end = path.size();
      const std::string name = path.substr(start, end - start);
      for (auto& sub : folder->subfolders) {
        if (sub->name == name) folder = sub.get();
      }
      start = end + 1;
    }
    return *folder;
  }

  sim::Desktop desktop;
  sim::User user{desktop};
  WindowId window;
  Library library;
  Settings prefs;
  NoActions actions;
  RecordedMenus menus;
  AppHotkeys app{desktop, prefs, actions};
  FolderHotkeys folders{desktop, library, &menus};
  HotkeyDispatcher dispatcher{desktop, app, folders};
};

TEST(FolderHotkeys, SwitchedOnFoldersAreNumberedFrom255DepthFirstAndPopUpTheirMenus) {
  Scene s;
  EXPECT_EQ(s.folders.register_all(MAIN_LIST), 3);
  EXPECT_EQ(s.main_folder("Mail").menu_hotkey_id, 255);
  EXPECT_EQ(s.main_folder("Mail/Replies").menu_hotkey_id, 256);
  EXPECT_EQ(s.main_folder("Code").menu_hotkey_id, 0) << "its hotkey is switched off";
  EXPECT_EQ(s.main_folder("Code/Snippets").menu_hotkey_id, 257);
  EXPECT_EQ(s.main_folder("Plain").menu_hotkey_id, 0);
  EXPECT_EQ(s.folders.first_id(), 255);
  EXPECT_EQ(s.folders.next_id(), 258);

  s.press_shift('R');
  s.press_shift('S');
  s.press_shift('M');
  s.press_shift('C');  // not registered: the application gets it
  EXPECT_EQ(s.menus.shown, (std::vector<std::string>{"Replies", "Snippets", "Mail"}));
  EXPECT_EQ(s.desktop.text(s.window), "C");
}

TEST(FolderHotkeys, ApplyingTheSandboxRenumbersAndFreesWhatWasSwitchedOff) {
  Scene s;
  ASSERT_EQ(s.folders.register_all(MAIN_LIST), 3);
  // The user switches Mail's hotkey off in the main window and applies.
  s.sandbox_folder("Mail").menu_hotkey_enabled = 0;
  EXPECT_EQ(s.folders.register_all(SANDBOX), 2);
  abbr_flush_sandbox_to_main(s.library);
  EXPECT_EQ(s.main_folder("Mail").menu_hotkey_id, 0);
  EXPECT_EQ(s.main_folder("Mail/Replies").menu_hotkey_id, 255);
  EXPECT_EQ(s.main_folder("Code/Snippets").menu_hotkey_id, 256);

  s.press_shift('M');
  s.press_shift('R');
  s.press_shift('S');
  EXPECT_EQ(s.menus.shown, (std::vector<std::string>{"Replies", "Snippets"}));
  EXPECT_EQ(s.desktop.text(s.window), "M");
}

TEST(FolderHotkeys, APressChecksTheMainListAtThatMoment) {
  Scene s;
  ASSERT_EQ(s.folders.register_all(MAIN_LIST), 3);
  // Switched off in the main list but not yet registered again: still held, does nothing.
  s.main_folder("Mail").menu_hotkey_enabled = 0;
  s.press_shift('M');
  // The folder is gone from the main list altogether.
  s.main_folder("Code").subfolders.clear();
  s.press_shift('S');
  s.press_shift('R');
  EXPECT_EQ(s.menus.shown, std::vector<std::string>{"Replies"});
  EXPECT_EQ(s.desktop.text(s.window), "");
}

TEST(FolderHotkeys, AHotkeyWithoutAKeyOrTakenKeepsItsNumberButIsNotHeld) {
  Scene s;
  with_hotkey(s.main_folder("Plain"), "16");  // a modifier only
  with_hotkey(s.main_folder("Code"), "16 77");  // the same as Mail's
  EXPECT_EQ(s.folders.register_all(MAIN_LIST), 3);
  EXPECT_EQ(s.main_folder("Code").menu_hotkey_id, 257);
  EXPECT_EQ(s.main_folder("Plain").menu_hotkey_id, 259);
  EXPECT_EQ(s.folders.next_id(), 260);
  s.press_shift('M');
  EXPECT_EQ(s.menus.shown, std::vector<std::string>{"Mail"}) << "the first registration holds";
}

TEST(FolderHotkeys, UnregisteringGivesTheCombinationsBack) {
  Scene s;
  ASSERT_EQ(s.folders.register_all(MAIN_LIST), 3);
  s.folders.unregister_all();
  EXPECT_FALSE(s.folders.owns(255));
  s.press_shift('M');
  EXPECT_TRUE(s.menus.shown.empty());
  EXPECT_EQ(s.desktop.text(s.window), "M");
}

TEST(FolderHotkeys, WithoutAMenuNothingIsHeld) {
  Scene s;
  FolderHotkeys menuless(s.desktop, s.library, nullptr);
  s.folders.unregister_all();
  EXPECT_EQ(menuless.register_all(MAIN_LIST), 0);
  EXPECT_EQ(s.main_folder("Mail/Replies").menu_hotkey_id, 256) << "numbered all the same";
  s.press_shift('M');
  EXPECT_EQ(s.desktop.text(s.window), "M");
}

TEST(HotkeyDispatcher, ApplicationAndFolderHotkeysShareTheDesktop) {
  struct Recorded : NoActions {
    int toggles = 0;
    void toggle_status() override { ++toggles; }
  } actions;
  Scene s;
  s.prefs.set("ed_enable", "1");
  s.prefs.set("ed_hotkey", "16 84");  // Shift+T
  AppHotkeys app(s.desktop, s.prefs, actions);
  HotkeyDispatcher dispatcher(s.desktop, app, s.folders);
  ASSERT_EQ(app.register_all(), 1);
  ASSERT_EQ(s.folders.register_all(MAIN_LIST), 3);
  s.press_shift('T');
  s.press_shift('M');
  dispatcher.pressed(258);  // just past the folders' ids: nobody's
  dispatcher.pressed(kToggleStatusHotkeyId);
  EXPECT_EQ(actions.toggles, 2);
  EXPECT_EQ(s.menus.shown, std::vector<std::string>{"Mail"});
}

}  // namespace
}  // namespace tolvan
