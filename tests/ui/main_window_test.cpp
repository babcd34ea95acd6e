// The main window on a real display, over a library in a temporary data folder: what the
// folder selection lists and allows, a new abbreviation made, edited, applied and saved,
// deleting, sorting by a header, searching, Cancel's question, closing into the tray and
// the menu's items.
#include <gtkmm/checkmenuitem.h>
#include <gtkmm/treeviewcolumn.h>

#include <algorithm>

#include "gtk_test_support.h"
#include "library/folder_tree.h"
#include "library/lookups.h"
#include "support/backup_scene.h"
#include "support/recording_prompts.h"
#include "ui/library_window/main_window.h"
#include "ui/table_combo.h"

namespace tolvan::ui {
namespace {

using testing::settle;
using testing::turn_until;
using Box = tolvan::testing::RecordingPrompts::Box;

struct FakeHook final : KeyboardHookSwitch {
  bool keyboard_hook_installed() const override { return installed; }
  bool install_keyboard_hook() override { return installed = true; }
  bool remove_keyboard_hook() override { return !(installed = false); }
  bool installed = true;
};

struct CountingSteps final : ApplySteps {
  bool sync_before_apply() override { return ++syncs, true; }
  void register_sandbox_folder_hotkeys() override { ++hotkeys; }
  int syncs = 0;
  int hotkeys = 0;
};

// The save dialog answers with `save_as` (or a cancel) and remembers what it was asked.
struct SavingDialogs final : FileDialogs {
  std::optional<std::string> browse_for_file(const OpenFileRequest&) override { return std::nullopt; }
  std::optional<std::string> browse_for_save_file_name(const SaveFileRequest& r) override {
    asked.push_back(r.title + " " + r.initial_path);
    return save_as;
  }
  std::optional<std::string> browse_for_folder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> save_as;
  std::vector<std::string> asked;
};

// The menu item labelled `label` (with its mnemonic), in submenus too.
Gtk::MenuItem* find_item(Gtk::Menu& menu, const std::string& label) {
  for (Gtk::Widget* child : menu.get_children()) {
    auto* item = dynamic_cast<Gtk::MenuItem*>(child);
    if (!item) continue;
    if (item->get_label() == label) return item;
    if (Gtk::Menu* sub = item->get_submenu()) {
      if (Gtk::MenuItem* found = find_item(*sub, label)) return found;
    }
  }
  return nullptr;
}

std::vector<std::string> abbreviations_of(const std::vector<Abbreviation*>& records) {
  std::vector<std::string> out;
  for (const Abbreviation* a : records) out.push_back(a->abbreviations.empty() ? "" : a->abbreviations[0]);
  return out;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TOLVAN_NEED_DISPLAY();
    // "Work" holds btw and cu; "Home" holds omw.
    scene.save_library_with({});
    Folder& top = *library.main_list.at(0);
    work = &abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, "Work"));
    home = &abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, "Home"));
    add(*work, "btw", "by the way", "Aside");
    add(*work, "cu", "see you", "Bye");
    add(*home, "omw", "on my way", "Coming");
    abbr_create_sandbox(library);
    window = std::make_unique<MainWindow>(MainWindowContext{
        library, scene.prefs, scene.gvar, prompts, enabled, steps, [this] { ++key_buffer_clears; },
        [this] { ++quits; }, dialogs});
    window->on_selection_changed = [this](const std::vector<Abbreviation*>& s) { selection = s; };
    window->show_from_tray();
    ASSERT_TRUE(turn_until([&] { return window->get_mapped(); }));
    settle();
  }

  static void add(Folder& folder, const char* abbrev, const char* text, const char* description) {
    auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &folder, {});
    a->abbreviations = {abbrev};
    a->expansion() = text;
    a->description = description;
    abbr_add_abbrev_to_folder(folder, std::move(a));
  }

  Folder* sandbox_folder(const char* name) {
    for (Folder* f : abbr_get_all_folders_and_abbrevs_from_folder_list(library.sandbox).folders) {
      if (f->name == name) return f;
    }
    return nullptr;
  }

  tolvan::testing::BackupScene scene;
  Library& library = scene.library;
  tolvan::testing::RecordingPrompts prompts;
  FakeHook hook;
  EnabledSwitch enabled{hook};
  CountingSteps steps;
  SavingDialogs dialogs;
  Folder* work = nullptr;
  Folder* home = nullptr;
  std::unique_ptr<MainWindow> window;
  std::vector<Abbreviation*> selection;
  int key_buffer_clears = 0;
  int quits = 0;
};

TEST_F(MainWindowTest, TheAllRowListsEverythingAndAFolderOnlyItsOwn) {
  EXPECT_EQ(window->get_title(), "Tolvan");
  EXPECT_EQ(abbreviations_of(window->listed_records()), (std::vector<std::string>{"btw", "cu", "omw"}));
  EXPECT_FALSE(window->apply_button().get_sensitive());
  EXPECT_FALSE(window->editor_frame().get_sensitive());
  EXPECT_TRUE(window->menu_item("NewAbbreviation")->get_sensitive());

  window->select_folder(sandbox_folder("Home"));
  settle();
  EXPECT_EQ(abbreviations_of(window->listed_records()), std::vector<std::string>{"omw"});
  EXPECT_EQ(window->search_entry().get_text(), "Search...");
}

TEST_F(MainWindowTest, ANewAbbreviationIsSelectedEditedAppliedAndSaved) {
  window->select_folder(sandbox_folder("Work"));
  settle();
  window->activate_action("NewAbbreviation");
  settle();
  ASSERT_EQ(selection.size(), 1u);
  Abbreviation& made = *selection[0];
  EXPECT_EQ(made.description, "New Abbreviation");
  EXPECT_EQ(window->listed_records().back(), &made);
  EXPECT_TRUE(window->editor_frame().get_sensitive());
  EXPECT_TRUE(window->apply_button().get_sensitive());

  // Typed into the editor under the list: the record and its row follow.
  EXPECT_EQ(window->editor().presenter().record(), &made);
  window->editor().abbreviation_entry().set_text("sig");
  window->editor().replacement_view().get_buffer()->set_text("Kind regards");
  window->editor().description_entry().set_text("Signature");
  settle();
  EXPECT_EQ(made.abbreviations, std::vector<std::string>{"sig"});
  EXPECT_EQ(made.expansion(), "Kind regards");
  EXPECT_EQ(abbreviations_of(window->listed_records()), (std::vector<std::string>{"btw", "cu", "sig"}));

  window->apply_button().clicked();
  EXPECT_EQ(steps.syncs, 1);
  EXPECT_EQ(steps.hotkeys, 1);
  EXPECT_FALSE(window->apply_button().get_sensitive());
  EXPECT_NE(tolvan::testing::read_file(scene.gvar.get("abbreviations_file")).find("Kind regards"),
            std::string::npos);
  auto main_records = abbr_get_all_folders_and_abbrevs_from_folder_list(library.main_list).abbreviations;
  EXPECT_EQ(std::count_if(main_records.begin(), main_records.end(),
                          [](const Abbreviation* a) { return a->description == "Signature"; }),
            1);
}

// What TextExpander mode's hooks hear of the library's changes.
struct RecordingModelHooks final : ModelHooks {
  void abbrev_created(Abbreviation& a) override { told.push_back("created " + a.description); }
  void abbrev_col_modified(Abbreviation& a, AbbrevField field) override {
    if (field == AbbrevField::Abbreviations) told.push_back("abbreviation " + a.abbreviations.at(0));
    if (field == AbbrevField::Expansion) told.push_back("expansion " + a.expansion());
    if (field == AbbrevField::CaseMode) told.push_back("case mode " + a.abbreviations.at(0));
  }
  void abbrev_deleting(Abbreviation& a) override { told.push_back("deleting " + a.abbreviations.at(0)); }
  void folder_modified(Folder& folder) override {
    told.push_back("folder " + folder.name + (folder.disabled ? " disabled" : ""));
  }
  std::vector<std::string> told;
};

TEST_F(MainWindowTest, TheLibrarysHooksHearOfAbbreviationsMadeEditedAndDeleted) {
  RecordingModelHooks hooks;
  library.hooks = &hooks;  // as TextExpander mode sets them
  window->select_folder(sandbox_folder("Work"));
  settle();
  window->activate_action("NewAbbreviation");
  settle();
  window->editor().abbreviation_entry().set_text("sig");
  window->editor().replacement_view().get_buffer()->set_text("Regards");
  settle();
  window->delete_selected_abbreviations();
  settle();
  library.hooks = nullptr;
  EXPECT_EQ(hooks.told, (std::vector<std::string>{"created New Abbreviation", "abbreviation sig",
                                                  "expansion Regards", "deleting sig"}));
}

TEST_F(MainWindowTest, TheLibrarysHooksHearOfFoldersRenamedAndDisabledAndModesSetFromTheMenu) {
  RecordingModelHooks hooks;
  library.hooks = &hooks;
  Folder* folder = sandbox_folder("Work");
  window->select_folder(folder);
  settle();
  folder->name = "Office";
  window->folder_modified(*folder);  // the folder editor's OK
  window->folder_action("Disable");
  window->list_view().set_cursor(Gtk::TreePath("0"));
  settle();
  window->abbreviation_action("CaseSensitive");
  library.hooks = nullptr;
  ASSERT_EQ(hooks.told.size(), 3u);
  EXPECT_EQ(hooks.told[0], "folder Office");
  EXPECT_EQ(hooks.told[1], "folder Office disabled");
  EXPECT_EQ(hooks.told[2], "case mode btw");
}

TEST_F(MainWindowTest, AnEditedDescriptionMovesItsRowToItsSortedPlace) {
  Abbreviation* btw = window->listed_records().at(0);
  btw->description = "Zzz";
  window->record_edited(*btw, EditedField::Description);
  EXPECT_EQ(abbreviations_of(window->listed_records()), (std::vector<std::string>{"cu", "omw", "btw"}));
  EXPECT_FALSE(window->apply_button().get_sensitive());  // marking is the editor's
}

TEST_F(MainWindowTest, HeaderClicksSortAndDeletingSelectsTheRowThatTookThePlace) {
  window->header_clicked(SORT_BY_ABBREVIATION);
  window->header_clicked(SORT_BY_ABBREVIATION);
  settle();
  EXPECT_EQ(abbreviations_of(window->listed_records()), (std::vector<std::string>{"omw", "cu", "btw"}));
  window->list_view().set_cursor(Gtk::TreePath("1"));
  window->delete_selected_abbreviations();
  settle();
  EXPECT_EQ(abbreviations_of(window->listed_records()), (std::vector<std::string>{"omw", "btw"}));
  EXPECT_EQ(abbreviations_of(selection), std::vector<std::string>{"btw"});
  EXPECT_TRUE(window->apply_button().get_sensitive());
  EXPECT_EQ(sandbox_folder("Work")->abbreviations.size(), 1u);
}

TEST_F(MainWindowTest, TheHeadersMenuShowsTimeColumnsAndHidingTheSortedOneSortsByDescription) {
  std::vector<Gtk::Widget*> items = window->column_menu().get_children();
  ASSERT_EQ(items.size(), 3u);
  auto* created = dynamic_cast<Gtk::CheckMenuItem*>(items[1]);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->get_label(), "_Created");
  EXPECT_FALSE(window->list_column(SORT_BY_CREATED).get_visible());
  created->set_active(true);
  EXPECT_EQ(scene.prefs.get("created_col"), "1");
  EXPECT_TRUE(window->list_column(SORT_BY_CREATED).get_visible());
  window->header_clicked(SORT_BY_CREATED);
  window->header_clicked(SORT_BY_CREATED);
  EXPECT_TRUE(window->list_column(SORT_BY_CREATED).get_sort_indicator());
  created->set_active(false);
  EXPECT_FALSE(window->list_column(SORT_BY_CREATED).get_visible());
  EXPECT_TRUE(window->list_column(SORT_BY_DESCRIPTION).get_sort_indicator());
  EXPECT_EQ(window->list_column(SORT_BY_DESCRIPTION).get_sort_order(), Gtk::SORT_ASCENDING);
}

TEST_F(MainWindowTest, SortingTheFolderTreeSortsTheWorkingCopysFolders) {
  auto names = [&] {
    std::string out;
    for (const auto& f : library.sandbox.at(0)->subfolders) out += f->name + ";";
    return out;
  };
  EXPECT_EQ(names(), "Work;Home;");  // as loaded, though the tree shows them ascending
  window->folder_view().get_column(0)->clicked();  // descending
  window->folder_view().get_column(0)->clicked();  // ascending again
  settle();
  EXPECT_EQ(names(), "Home;Work;");
  window->folder_view().get_column(0)->clicked();
  settle();
  EXPECT_EQ(names(), "Work;Home;");
  window->save_state();
  EXPECT_EQ(scene.prefs.get("f_so"), "desc");
}

TEST_F(MainWindowTest, DeletingTheAllRowKeepsItAndDeletesTheOtherSelectedFolders) {
  window->folder_view().expand_all();
  window->folder_view().get_selection()->select_all();
  window->delete_selected_folders();
  settle();
  EXPECT_EQ(library.sandbox.at(0)->subfolders.size(), 0u);
  EXPECT_EQ(library.main_list.at(0)->subfolders.size(), 2u);
  EXPECT_TRUE(window->listed_records().empty());
  EXPECT_TRUE(window->apply_button().get_sensitive());
}

TEST_F(MainWindowTest, TheSearchBoxListsWhatContainsTheTypedText) {
  window->search_entry().grab_focus();
  settle();
  EXPECT_EQ(window->search_entry().get_text(), "");
  window->search_entry().set_text("way");
  settle();
  EXPECT_EQ(abbreviations_of(window->listed_records()), (std::vector<std::string>{"btw", "omw"}));
  EXPECT_GE(key_buffer_clears, 1);
  EXPECT_TRUE(window->list_column(SORT_BY_DESCRIPTION).get_sort_indicator());  // kept its arrow
}

TEST_F(MainWindowTest, CancelAsksThenThrowsTheChangesAwayAndHidesIntoTheTray) {
  window->listed_records().at(0)->description = "changed";
  window->mark_unapplied();
  prompts.answers = {Answer::Yes};
  window->cancel_button().clicked();
  settle();
  EXPECT_EQ(prompts.count(Box::AskAgain), 1u);
  EXPECT_FALSE(window->get_visible());
  EXPECT_FALSE(window->apply_button().get_sensitive());
  EXPECT_EQ(abbr_get_all_folders_and_abbrevs_from_folder_list(library.sandbox).abbreviations.size(), 3u);
  window->show_from_tray();
  settle();
  EXPECT_TRUE(window->get_visible());
  EXPECT_FALSE(window->get_skip_taskbar_hint());
  std::vector<std::string> descriptions;
  for (Abbreviation* a : window->listed_records()) descriptions.push_back(a->description);
  EXPECT_EQ(descriptions, (std::vector<std::string>{"Aside", "Bye", "Coming"}));
}

TEST_F(MainWindowTest, ClosingHidesIntoTheTrayAndRemembersTheFolder) {
  window->select_folder(sandbox_folder("Home"));
  settle();
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window = GDK_WINDOW(g_object_ref(window->get_window()->gobj()));
  gtk_main_do_event(event);
  gdk_event_free(event);
  settle();
  EXPECT_FALSE(window->get_visible());
  EXPECT_TRUE(window->get_skip_taskbar_hint());
  EXPECT_EQ(scene.prefs.get("last_sel_folder"), "2");
}

TEST_F(MainWindowTest, MenuItemsNotBuiltYetSaySoAndExitQuits) {
  for (const char* action : {"Preferences", "ImportTE", "Update"}) window->menu_item(action)->activate();
  EXPECT_EQ(prompts.count(Box::Info), 3u);
  EXPECT_EQ(prompts.shown.at(0).text, kNotAvailableYet);
  EXPECT_FALSE(window->menu_item("ImportTidBITS")->get_visible());
  window->menu_item("Exit")->activate();
  EXPECT_EQ(quits, 1);
  window->menu_item("Help")->activate();  // no help pages beside this test
  EXPECT_EQ(prompts.shown.back().text.rfind(kMissingHelpText, 0), 0u);
}

TEST_F(MainWindowTest, TheBackupManagerOpensOverTheWindowAndKnowsItsPendingChanges) {
  window->mark_unapplied();
  window->menu_item("BackupManager")->activate();
  Gtk::Window* manager = nullptr;
  ASSERT_TRUE(turn_until([&] {
    for (Gtk::Window* w : Gtk::Window::list_toplevels()) {
      if (w->get_title() == "Backup Manager" && w->get_mapped()) manager = w;
    }
    return manager != nullptr;
  }));
  EXPECT_EQ(manager->get_transient_for(), window.get());
  EXPECT_TRUE(window->pending_changes().has_unapplied_changes());
  manager->hide();
}

TEST_F(MainWindowTest, TheStatusButtonFlipsTheExpander) {
  EXPECT_EQ(window->status_button().get_label(), "_Status: Enabled  ");
  enabled.add_listener(window.get());
  window->status_button().clicked();
  EXPECT_FALSE(hook.installed);
  EXPECT_EQ(window->status_button().get_label(), "_Status: Disabled  ");
  enabled.remove_listener(window.get());
}

TEST_F(MainWindowTest, ControlsHaveNamesForScreenReaders) {
  EXPECT_EQ(window->apply_button().get_accessible()->get_name(), "Apply");
  EXPECT_EQ(window->search_entry().get_accessible()->get_name(), "Search");
  EXPECT_EQ(window->list_view().get_accessible()->get_name(), "Abbreviations");
  EXPECT_EQ(window->folder_view().get_accessible()->get_name(), "Folders");
}

}  // namespace
}  // namespace tolvan::ui

namespace tolvan::ui {
namespace {

TEST_F(MainWindowTest, TheEditorUnderTheListWritesTheSelectedRecordAndItsRow) {
  window->select_folder(sandbox_folder("Work"));
  settle();
  EXPECT_FALSE(window->editor_frame().get_visible());  // nothing selected
  window->list_view().set_cursor(Gtk::TreePath("0"));
  settle();
  Abbreviation& btw = *window->listed_records().at(0);
  EXPECT_TRUE(window->editor_frame().get_visible());
  EXPECT_EQ(window->editor().abbreviation_entry().get_text(), "btw");
  EXPECT_FALSE(window->apply_button().get_sensitive());  // filling is no edit

  window->editor().abbreviation_entry().set_text("btw2");
  window->editor().description_entry().set_text("Zzz");  // sorted by description: moves down
  settle();
  EXPECT_EQ(btw.abbreviations, std::vector<std::string>{"btw2"});
  EXPECT_EQ(abbreviations_of(window->listed_records()), (std::vector<std::string>{"cu", "btw2"}));
  EXPECT_EQ(window->selected_records(), std::vector<Abbreviation*>{&btw});
  EXPECT_TRUE(window->apply_button().get_sensitive());

  // Two rows selected: the editor goes away and edits nothing.
  window->list_view().get_selection()->select_all();
  settle();
  EXPECT_FALSE(window->editor_frame().get_visible());
  EXPECT_EQ(window->editor().presenter().record(), nullptr);
}

TEST_F(MainWindowTest, TheEditorOffersRunAsAdministratorOnlyWhenTheDesktopCan) {
  EXPECT_FALSE(window->editor().run_as_admin_check().get_visible());  // the fixture says it cannot
  window->select_folder(sandbox_folder("Work"));
  settle();
  window->new_abbreviation(ABBR_TYPE_PROGRAM);
  settle();
  EXPECT_EQ(window->editor().pages().get_current_page(), 1);
  EXPECT_FALSE(window->editor().run_as_admin_check().get_visible());
}

TEST_F(MainWindowTest, TheFolderEditorAddsAFolderUnderTheSelectedOneAndRenamesIt) {
  window->select_folder(sandbox_folder("Work"));
  settle();
  window->activate_action("NewFolder");
  settle();
  ASSERT_NE(window->folder_editor(), nullptr);
  EXPECT_EQ(window->folder_editor()->get_title(), "Add Folder");
  EXPECT_EQ(window->folder_editor()->name_entry().get_text(), "New Folder");
  window->folder_editor()->name_entry().set_text("Clients");
  window->folder_editor()->ok_button().clicked();
  settle();
  EXPECT_EQ(window->folder_editor(), nullptr);  // let go once it is done
  Folder* clients = sandbox_folder("Clients");
  ASSERT_NE(clients, nullptr);
  EXPECT_EQ(clients->parent, sandbox_folder("Work"));
  EXPECT_EQ(window->selected_folders(), std::vector<Folder*>{clients});
  EXPECT_TRUE(window->apply_button().get_sensitive());

  // Editing: the selected folder's name, and its row with it.
  window->edit_folder();
  settle();
  ASSERT_NE(window->folder_editor(), nullptr);
  EXPECT_EQ(window->folder_editor()->get_title(), "Edit Folder Details");
  window->folder_editor()->name_entry().set_text("Customers");
  window->folder_editor()->ok_button().clicked();
  settle();
  EXPECT_EQ(clients->name, "Customers");
  EXPECT_EQ(window->folder_row_name(clients), "Customers");

  // Cancel changes nothing: the folders stay as they are.
  window->activate_action("NewFolder");
  settle();
  ASSERT_NE(window->folder_editor(), nullptr);
  window->folder_editor()->hide();
  window->folder_editor()->signal_done().emit();
  settle();
  EXPECT_EQ(window->folder_editor(), nullptr);
  EXPECT_EQ(sandbox_folder("New Folder"), nullptr);
}

TEST_F(MainWindowTest, TheFolderEditorWarnsOfAHotkeyAnotherFolderUses) {
  Folder* home_folder = sandbox_folder("Home");
  home_folder->menu_hotkey = "17 18 87";
  home_folder->menu_hotkey_enabled = 1;
  window->select_folder(sandbox_folder("Work"));
  settle();
  window->edit_folder();
  settle();
  FolderEditorWindow& editor = *window->folder_editor();
  EXPECT_FALSE(editor.hotkey_warning().get_visible());
  editor.hotkey_row().set_hotkey(hotkey_row_from_string("17 18 87"));
  EXPECT_FALSE(editor.hotkey_warning().get_visible());  // switched off: no clash
  editor.hotkey_enabled().set_active(true);
  EXPECT_TRUE(editor.hotkey_warning().get_visible());
  EXPECT_NE(editor.hotkey_warning().get_tooltip_text().find("Home"), std::string::npos);
  editor.hotkey_row().set_hotkey(hotkey_row_from_string("17 18 88"));
  EXPECT_FALSE(editor.hotkey_warning().get_visible());

  // Home's own hotkey does not clash with itself.
  window->folder_editor()->signal_done().emit();
  settle();
  window->select_folder(home_folder);
  settle();
  window->edit_folder();
  settle();
  EXPECT_TRUE(window->folder_editor()->hotkey_enabled().get_active());
  EXPECT_FALSE(window->folder_editor()->hotkey_warning().get_visible());
}

TEST_F(MainWindowTest, TheWindowFollowsTheAdvancedViewAndTextExpanderMode) {
  window->select_folder(sandbox_folder("Work"));
  settle();
  window->list_view().set_cursor(Gtk::TreePath("0"));
  settle();
  EXPECT_TRUE(window->menu_item("ImportTypo")->get_visible());
  EXPECT_FALSE(window->menu_item("ImportTidBITS")->get_visible());
  EXPECT_FALSE(window->editor().presenter().look().anywhere_shown);

  scene.prefs.set_int("adv_view", 1);
  window->view_mode_changed();
  EXPECT_TRUE(window->editor().presenter().look().anywhere_shown);

  scene.prefs.set_int("textexpander_mode", 1);
  window->view_mode_changed();
  EXPECT_FALSE(window->menu_item("ImportTypo")->get_visible());
  EXPECT_FALSE(window->menu_item("ImportExamples")->get_visible());
  EXPECT_TRUE(window->menu_item("ImportTidBITS")->get_visible());
  EXPECT_FALSE(window->editor().presenter().look().trigger_row_shown);
  Gtk::Menu& menu = window->pop_up_abbreviation_menu(nullptr);
  EXPECT_EQ(find_item(menu, "Change _trigger mode to"), nullptr);
  EXPECT_NE(find_item(menu, "_Ignore case"), nullptr);
  menu.popdown();
  EXPECT_FALSE(window->apply_button().get_sensitive());  // a mode is no edit
}

TEST_F(MainWindowTest, TheListsMenuSetsTheCaseModeOfTheSelectedRecords) {
  window->select_folder(sandbox_folder("Work"));
  settle();
  window->list_view().get_selection()->select_all();
  settle();
  std::vector<Abbreviation*> both = window->selected_records();
  ASSERT_EQ(both.size(), 2u);
  Gtk::Menu& menu = window->pop_up_abbreviation_menu(nullptr);
  EXPECT_EQ(find_item(menu, "_Open containing folder"), nullptr);  // a folder is listed
  ASSERT_NE(find_item(menu, "_Adapt case"), nullptr);
  Gtk::MenuItem* sensitive = find_item(menu, "Case _sensitive");
  ASSERT_NE(sensitive, nullptr);
  sensitive->activate();
  menu.popdown();
  settle();
  for (Abbreviation* a : both) EXPECT_EQ(a->case_mode, CASE_SENSITIVE);
  EXPECT_TRUE(window->apply_button().get_sensitive());

  // One record selected: its editor's combo shows what the menu set.
  window->list_view().get_selection()->unselect_all();
  window->list_view().set_cursor(Gtk::TreePath("0"));
  settle();
  Gtk::Menu& again = window->pop_up_abbreviation_menu(nullptr);
  find_item(again, "_Word-ending character")->activate();
  again.popdown();
  settle();
  EXPECT_EQ(window->selected_records().front()->trigger_mode, TRIGGER_WORD_ENDING);
  EXPECT_EQ(window->editor().trigger_combo().selected_id(), TRIGGER_WORD_ENDING);
}

TEST_F(MainWindowTest, TheFolderMenuDisablesFoldersAndOffersEditing) {
  Folder* home_folder = sandbox_folder("Home");
  window->select_folder(home_folder);
  settle();
  Gtk::Menu& menu = window->pop_up_folder_menu(nullptr);
  EXPECT_EQ(find_item(menu, "En_able"), nullptr);
  ASSERT_NE(find_item(menu, "_Edit"), nullptr);
  find_item(menu, "Disa_ble")->activate();
  menu.popdown();
  settle();
  EXPECT_TRUE(home_folder->disabled);
  EXPECT_TRUE(window->apply_button().get_sensitive());
}

TEST_F(MainWindowTest, ExportsGoToTheProgramWithTheFolderTheyAreFor) {
  std::vector<std::pair<std::string, const Folder*>> asked;
  window->program_action = [&](const std::string& action, const Folder* folder) {
    asked.emplace_back(action, folder);
    return action != "Rename";
  };
  window->select_folder(sandbox_folder("Work"));
  settle();
  window->folder_action("ExportToHTML");
  window->activate_action("Export");
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], (std::pair<std::string, const Folder*>{"ExportToHTML", sandbox_folder("Work")}));
  EXPECT_EQ(asked[1], (std::pair<std::string, const Folder*>{"Export", nullptr}));
  EXPECT_TRUE(prompts.shown.empty()) << "nothing the program took says it is not available";
}

TEST_F(MainWindowTest, DroppingOnTheFolderTreeMovesRecordsAndFoldersTheRulesAllow) {
  Folder* work_folder = sandbox_folder("Work");
  Folder* home_folder = sandbox_folder("Home");
  window->select_folder(work_folder);
  settle();
  window->list_view().set_cursor(Gtk::TreePath("1"));  // cu
  settle();
  Abbreviation* cu = window->selected_records().at(0);
  using Source = MainWindow::DragSource;
  // Onto its own folder: allowed, and nothing changes.
  EXPECT_TRUE(window->drop(Source::Abbreviations, work_folder));
  EXPECT_FALSE(window->apply_button().get_sensitive());
  EXPECT_FALSE(window->drop_allowed(Source::Abbreviations, nullptr));

  EXPECT_TRUE(window->drop(Source::Abbreviations, home_folder));
  settle();
  EXPECT_EQ(cu->folder, home_folder);
  EXPECT_EQ(abbreviations_of(window->listed_records()), std::vector<std::string>{"btw"});
  EXPECT_TRUE(window->apply_button().get_sensitive());

  // Home into Work; Work cannot then go into Home, nor Home to the top from one level down.
  window->select_folder(home_folder);
  settle();
  EXPECT_FALSE(window->drop_allowed(Source::Folders, nullptr));
  EXPECT_TRUE(window->drop(Source::Folders, work_folder));
  settle();
  EXPECT_EQ(home_folder->parent, work_folder);
  EXPECT_EQ(window->selected_folders(), std::vector<Folder*>{home_folder});
  EXPECT_EQ(window->folder_row_name(home_folder), "Home");
  window->select_folder(work_folder);
  settle();
  EXPECT_FALSE(window->drop_allowed(Source::Folders, home_folder));

  // TextExpander mode takes no drops.
  scene.prefs.set_int("textexpander_mode", 1);
  window->view_mode_changed();
  window->select_folder(home_folder);
  settle();
  EXPECT_FALSE(window->drop_allowed(Source::Folders, nullptr));
  scene.prefs.set_int("textexpander_mode", 0);
}

}  // namespace
}  // namespace tolvan::ui
