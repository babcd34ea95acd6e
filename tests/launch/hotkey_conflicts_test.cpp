// The names of the other hotkeys that use a hotkey string, as the Preferences window and
// the folder editor warn about them.
#include "launch/hotkey_conflicts.h"

#include <gtest/gtest.h>

#include "support/random_library.h"

namespace tolvan {
namespace {

using testing::add_folder;
using testing::add_top;
using Names = std::vector<std::string>;

const AppHotkeyRow* row(int id) {
  for (const AppHotkeyRow& r : app_hotkey_rows())
    if (r.id == id) return &r;
  return nullptr;
}

struct Scene {
  Scene() {
    Folder& top = add_top(sandbox);
    work = &add_folder(top, "Work");
    mail = &add_folder(*work, "Mail");
    home = &add_folder(top, "Home");
  }
  static void hotkey(Folder& folder, const char* text, uint8_t enabled = 1) {
    folder.menu_hotkey = text;
    folder.menu_hotkey_enabled = enabled;
  }
  Settings prefs;
  FolderList sandbox;
  Folder* work;
  Folder* mail;
  Folder* home;
};

TEST(HotkeyConflicts, StoredPreferencesThenFoldersInDepthFirstOrder) {
  Scene s;
  s.prefs.set("launchpad_enable", "1");
  s.prefs.set("launchpad_hotkey", "17 18 76");
  s.prefs.set("dmw_enable", "0");  // switched off: no clash
  s.prefs.set("dmw_hotkey", "17 18 76");
  s.prefs.set("acm_enable", "1");
  s.prefs.set("acm_hotkey", "18 17 76");  // the same keys written in another order
  Scene::hotkey(*s.home, "17 18 76");
  Scene::hotkey(*s.mail, "17 18 76");
  Scene::hotkey(*s.work, "17 18 76", 0);

  EXPECT_EQ(hotkeys_get_names_of_others_with_same_combo("17 18 76", nullptr, {s.prefs, s.sandbox}),
            (Names{"LaunchPad hotkey in Preferences -> Hotkeys",
                   "Pop up menu hotkey in folder Work\\Mail",
                   "Pop up menu hotkey in folder Home"}));
}

TEST(HotkeyConflicts, TheEditedRowAndTheEditedFolderNeverClashWithThemselves) {
  Scene s;
  s.prefs.set("launchpad_enable", "1");
  s.prefs.set("launchpad_hotkey", "91 32");
  Scene::hotkey(*s.home, "91 32");
  const HotkeyConflictSources editing_home{s.prefs, s.sandbox, std::nullopt, s.home};
  EXPECT_EQ(hotkeys_get_names_of_others_with_same_combo("91 32", nullptr, editing_home),
            Names{"LaunchPad hotkey in Preferences -> Hotkeys"});
  EXPECT_EQ(hotkeys_get_names_of_others_with_same_combo("91 32", row(kLaunchPadHotkeyId),
                                                        {s.prefs, s.sandbox}),
            Names{"Pop up menu hotkey in folder Home"});
  EXPECT_TRUE(hotkeys_get_names_of_others_with_same_combo("91 32", row(kLaunchPadHotkeyId),
                                                          editing_home)
                  .empty());
}

TEST(HotkeyConflicts, AnOpenPreferencesWindowSpeaksForThePreferences) {
  Scene s;
  // Stored: the toggle hotkey holds the combination; the window has moved it elsewhere and
  // switched the main window's hotkey on with it instead.
  s.prefs.set("ed_enable", "1");
  s.prefs.set("ed_hotkey", "17 65");
  const ShownHotkeyRow shown[] = {
      {row(kToggleStatusHotkeyId), true, "17 66"},
      {row(kShowMainWindowHotkeyId), true, "17 65"},
      {row(kAbbrevMenuHotkeyId), false, "17 65"},
      {row(kLaunchPadHotkeyId), true, "17 65"},
  };
  const HotkeyConflictSources sources{s.prefs, s.sandbox, shown};
  EXPECT_EQ(hotkeys_get_names_of_others_with_same_combo("17 65", row(kLaunchPadHotkeyId), sources),
            Names{"Show main windows hotkey in Preferences -> Hotkeys"});
}

TEST(HotkeyConflicts, StringsCompareWithoutCaseAndAMissingSettingNeverMatches) {
  Scene s;
  s.prefs.set("ed_enable", "1");  // no ed_hotkey at all
  s.prefs.set("acm_enable", "1");
  s.prefs.set("acm_hotkey", "17 X");
  EXPECT_EQ(hotkeys_get_names_of_others_with_same_combo("17 x", nullptr, {s.prefs, s.sandbox}),
            Names{"Pop up menu with list of folders and abbreviations hotkey in Preferences -> Hotkeys"});
  EXPECT_TRUE(hotkeys_get_names_of_others_with_same_combo("", nullptr, {s.prefs, s.sandbox}).empty());
}

TEST(HotkeyConflicts, TheTooltipListsEveryName) {
  EXPECT_EQ(hotkey_conflict_tooltip({"LaunchPad hotkey in Preferences -> Hotkeys",
                                     "Pop up menu hotkey in folder Home"}),
            "The key combination you have selected for this hotkey is already in use by other "
            "hotkey(s):\n\n- LaunchPad hotkey in Preferences -> Hotkeys\n\n- Pop up menu hotkey "
            "in folder Home\n\n");
}

}  // namespace
}  // namespace tolvan
