// The folder tree's and the list's right-click menus by selection and mode, the modes their
// items set, and which drops onto the folder tree are taken.
#include "presenters/library_window/context_menus.h"

#include <gtest/gtest.h>

#include "library/folder_tree.h"
#include "presenters/library_window/drop_rules.h"

namespace tolvan {
namespace {

std::vector<std::string> actions(const std::vector<ContextMenuItem>& menu) {
  std::vector<std::string> out;
  for (const ContextMenuItem& item : menu) out.push_back(item.is_separator() ? "-" : item.action);
  return out;
}

class LibraryMenus : public ::testing::Test {
 protected:
  LibraryMenus() {
    sandbox.push_back(abbr_create_absolute_parent_folder(uids));
    all = sandbox[0].get();
    work = &abbr_add_subfolder_to_folder(*all, abbr_new_subfolder_of(uids, all, "Work"));
    letters = &abbr_add_subfolder_to_folder(*work, abbr_new_subfolder_of(uids, work, "Letters"));
    text = &abbr_add_abbrev_to_folder(*work, abbr_create_new_abbrev(ABBR_TYPE_TEXT, work, {}));
    program = &abbr_add_abbrev_to_folder(*work, abbr_create_new_abbrev(ABBR_TYPE_PROGRAM, work, {}));
  }
  UidCounter uids;
  FolderList sandbox;
  Folder *all, *work, *letters;
  Abbreviation *text, *program;
};

TEST_F(LibraryMenus, TheFolderMenuOffersWhatTheSelectionCanTake) {
  EXPECT_EQ(actions(folder_context_menu_items({all})),
            (std::vector<std::string>{"NewFolder", "NewSubfolder", "-", "Export", "ExportTEGroup",
                                      "ExportToHTML", "-", "Rename", "-", "Delete"}));
  EXPECT_EQ(actions(folder_context_menu_items({work}))[3], "Disable");
  work->disabled = 1;
  std::vector<ContextMenuItem> menu = folder_context_menu_items({work});
  EXPECT_EQ(menu[3].label, "En_able");
  EXPECT_TRUE(menu[4].is_separator());
  EXPECT_EQ(actions(folder_context_menu_items({all, work})),
            (std::vector<std::string>{"NewFolder", "NewSubfolder", "-", "Enable", "Disable", "-", "Export",
                                      "ExportTEGroup", "ExportToHTML", "-", "Rename", "-", "Delete"}));
}

TEST_F(LibraryMenus, TheListMenuFollowsModeAndSelection) {
  std::vector<ContextMenuItem> menu = abbrev_context_menu_items({text}, true, false);
  EXPECT_EQ(actions(menu), (std::vector<std::string>{"OpenContFol", "-", "NewAbbreviation", "-", "NewAppLauncher",
                                                     "NewWebsiteLauncher", "-", "", "", "-", "Delete"}));
  EXPECT_EQ(menu[7].label, "Change _case match-mode to");
  EXPECT_EQ(actions(menu[7].submenu), (std::vector<std::string>{"CaseInsensitive", "CaseSensitive", "CaseAdapt"}));
  EXPECT_EQ(actions(menu[8].submenu),
            (std::vector<std::string>{"TriggerImmediately", "TriggerKey", "TriggerWordEnding"}));

  menu = abbrev_context_menu_items({program}, false, true);
  EXPECT_EQ(menu[0].action, "NewAbbreviation");
  EXPECT_EQ(menu[5].submenu[0].label, "Case _sensitive");
  EXPECT_EQ(menu[5].submenu[1].label, "_Ignore case");
  EXPECT_EQ(menu[5].submenu.size(), 2u) << "one launcher cannot adapt case";
  EXPECT_EQ(menu.size(), 8u) << "no trigger menu in TextExpander mode";

  menu = abbrev_context_menu_items({program, text}, false, true);
  EXPECT_EQ(menu[5].submenu.back().action, "CaseAdapt");
}

TEST_F(LibraryMenus, CaseAndTriggerItemsSetEveryRecordButLaunchersNeverAdapt) {
  EXPECT_EQ(context_action_case_mode("caseADAPT"), CASE_ADAPT);
  EXPECT_EQ(context_action_case_mode("CaseSensitive"), CASE_SENSITIVE);
  EXPECT_EQ(context_action_case_mode("Casefold"), std::nullopt);
  EXPECT_EQ(context_action_case_mode("Delete"), std::nullopt);
  EXPECT_EQ(context_action_trigger_mode("TriggerWordEnding"), TRIGGER_WORD_ENDING);
  EXPECT_EQ(context_action_trigger_mode("triggerkey"), TRIGGER_KEY);
  EXPECT_EQ(context_action_trigger_mode("Trigger"), std::nullopt);

  text->case_mode = CASE_SENSITIVE;
  program->case_mode = CASE_SENSITIVE;
  EXPECT_TRUE(set_case_mode_of({text, program}, CASE_ADAPT));
  EXPECT_EQ(text->case_mode, CASE_ADAPT);
  EXPECT_EQ(program->case_mode, CASE_INSENSITIVE);
  EXPECT_FALSE(set_case_mode_of({text, program}, CASE_ADAPT));
  EXPECT_TRUE(set_trigger_mode_of({text}, TRIGGER_KEY));
  EXPECT_EQ(text->trigger_mode, TRIGGER_KEY);
}

TEST_F(LibraryMenus, DropsThatWouldChangeNothingOrBreakTheTreeAreRefused) {
  EXPECT_FALSE(abbreviation_drop(*text, nullptr).accepted);
  DropDecision same = abbreviation_drop(*text, work);
  EXPECT_TRUE(same.accepted);
  EXPECT_FALSE(same.moves);
  EXPECT_TRUE(abbreviation_drop(*text, letters).moves);

  EXPECT_FALSE(folder_drop(*all, work, *all).accepted) << "the All row";
  EXPECT_FALSE(folder_drop(*all, nullptr, *all).accepted);
  EXPECT_FALSE(folder_drop(*work, work, *all).accepted) << "onto itself";
  EXPECT_FALSE(folder_drop(*work, letters, *all).accepted) << "onto its child";
  EXPECT_FALSE(folder_drop(*letters, work, *all).accepted) << "onto its parent";
  EXPECT_FALSE(folder_drop(*work, nullptr, *all).accepted) << "already at the top";

  DropDecision up = folder_drop(*letters, nullptr, *all);
  EXPECT_TRUE(up.accepted);
  EXPECT_EQ(up.target, all);
  Folder& home = abbr_add_subfolder_to_folder(*all, abbr_new_subfolder_of(uids, all, "Home"));
  DropDecision across = folder_drop(*letters, &home, *all);
  EXPECT_TRUE(across.accepted && across.moves);
  EXPECT_EQ(across.target, &home);
  EXPECT_TRUE(folder_drop(home, letters, *all).accepted);
}

}  // namespace
}  // namespace tolvan
