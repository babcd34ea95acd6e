// Imports shown in the real main window through MainWindowImportTarget: the imported
// folders listed and the last one selected, Apply sensitive, and a Replace that leaves the
// tree with exactly the file's folders (none of the old ones it pointed to).
#include <filesystem>

#include "gtk_test_support.h"
#include "library/folder_tree.h"
#include "support/backup_scene.h"
#include "support/recording_prompts.h"
#include "support/transfer_doubles.h"
#include "ui/library_window/import_mode_dialog.h"
#include "ui/library_window/library_transfers.h"
#include "ui/library_window/main_window.h"
#include "ui/library_window/main_window_import_target.h"

namespace tolvan::ui {
namespace {

using testing::settle;
using testing::turn_until;
namespace fs = std::filesystem;

struct FakeHook final : KeyboardHookSwitch {
  bool keyboard_hook_installed() const override { return true; }
  bool install_keyboard_hook() override { return true; }
  bool remove_keyboard_hook() override { return true; }
};

struct NoSteps final : ApplySteps {
  bool sync_before_apply() override { return true; }
  void register_sandbox_folder_hotkeys() override {}
};

// The folder tree's rows below the All row, and the selected rows, by name.
std::vector<std::string> names(const Gtk::TreeModel::Children& rows) {
  std::vector<std::string> out;
  for (const Gtk::TreeRow& row : rows) {
    Glib::ustring name;
    row.get_value(0, name);
    out.push_back(name);
  }
  return out;
}

class MainWindowImports : public ::testing::Test {
 protected:
  void SetUp() override {
    TOLVAN_NEED_DISPLAY();
    scene.save_library_with({"btw"});
    window = std::make_unique<MainWindow>(
        MainWindowContext{scene.library, scene.prefs, scene.gvar, prompts, enabled, steps, {}, {}, dialogs});
    window->show_from_tray();
    ASSERT_TRUE(turn_until([&] { return window->get_mapped(); }));
    settle();
    target = std::make_unique<MainWindowImportTarget>(*window, scene.library);
    transfers = std::make_unique<LibraryTransfers>(
        LibraryTransfersContext{scene.library, scene.prefs, scene.gvar, prompts, dialogs,
                                window->pending_changes(), *target},
        window.get());
  }

  std::vector<std::string> tree_below_all() {
    return names(window->folder_view().get_model()->children().begin()->children());
  }
  std::string selected() {
    auto rows = window->folder_view().get_selection()->get_selected_rows();
    if (rows.size() != 1) return "";
    Glib::ustring name;
    window->folder_view().get_model()->get_iter(rows[0])->get_value(0, name);
    return name;
  }

  tolvan::testing::BackupScene scene;
  tolvan::testing::RecordingPrompts prompts;
  FakeHook hook;
  EnabledSwitch enabled{hook};
  NoSteps steps;
  tolvan::testing::QueuedFileDialogs dialogs;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<MainWindowImportTarget> target;
  std::unique_ptr<LibraryTransfers> transfers;
};

TEST_F(MainWindowImports, ImportedGroupsAreListedTheLastSelectedAndApplySensitive) {
  ASSERT_FALSE(window->apply_button().get_sensitive());
  const std::string file =
      (fs::path(TOLVAN_CORPORA_DIR) / "textexpander" / "bachya__ExpandSync__res__Settings.textexpander").string();
  prompts.answers = {Answer::No};  // stay out of TextExpander mode
  ASSERT_EQ(transfers->import_te_snippets(file), TeImportResult::Imported);
  settle();
  EXPECT_EQ(tree_below_all(), (std::vector<std::string>{"Evernote", "Sample Snippets"}));
  EXPECT_EQ(selected(), "Evernote");
  EXPECT_TRUE(window->apply_button().get_sensitive());
}

TEST_F(MainWindowImports, ReplaceLeavesTheTreeWithExactlyTheFilesFolders) {
  // A library of "Letters" exported, then imported over the one the window shows.
  Library other;
  Folder& top = abbr_ensure_absolute_parent(other.main_list, other.uids);
  abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(other.uids, &top, "Letters"));
  const std::string file = scene.dir.file("letters.tlv");
  dialogs.save_answers = {file};
  Folder* own_top = abbr_get_absolute_parent_folder(scene.library.main_list);
  abbr_add_subfolder_to_folder(*own_top, abbr_new_subfolder_of(scene.library.uids, own_top, "Old"));
  abbr_create_sandbox(scene.library);
  window->presenter().reset(false);
  settle();
  ASSERT_EQ(tree_below_all(), std::vector<std::string>{"Old"});

  // The file: export "Letters"' library through a second set of transfers over `other`.
  tolvan::testing::CountingPendingChanges pending;
  tolvan::testing::LoggingImportTarget unused;
  LibraryTransfers exporter(LibraryTransfersContext{other, scene.prefs, scene.gvar, prompts,
                                                    dialogs, pending, unused},
                            nullptr);
  ASSERT_TRUE(exporter.export_abbrevs(nullptr, false));

  sigc::connection answer = Glib::signal_timeout().connect(
      [] {
        for (Gtk::Window* w : Gtk::Window::list_toplevels()) {
          if (auto* dialog = dynamic_cast<ImportModeDialog*>(w); dialog && dialog->get_mapped()) {
            dialog->response(Gtk::RESPONSE_OK);  // Replace is preselected
          }
        }
        return true;
      },
      10);
  EXPECT_TRUE(transfers->import_abbrevs(file));
  answer.disconnect();
  settle();
  EXPECT_EQ(tree_below_all(), std::vector<std::string>{"Letters"});
  // The file's root became the sandbox's: the All row is what was imported.
  EXPECT_EQ(selected(), "All Abbreviations / Folders");
  EXPECT_TRUE(window->apply_button().get_sensitive());
}

}  // namespace
}  // namespace tolvan::ui
