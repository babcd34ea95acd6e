// window_gallery KIND PNG: shows one of the toolkit's boxes or windows on the display, as
// the program would, photographs the screen into PNG (ImageMagick's import) after a second,
// and ends. For looking at what the windows look like: run it under scripts/with-x.sh.
#include <glibmm/main.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/main.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/messagedialog.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>

#include "library/folder_tree.h"
#include "support/backup_scene.h"
#include "support/recording_editor_host.h"
#include "support/recording_preferences_steps.h"
#include "settings/prefs.h"
#include "ui/preferences_window.h"
#include "support/temp_dir.h"
#include "support/transfer_doubles.h"
#include "ui/about_dialog.h"
#include "ui/backup_manager_window.h"
#include "ui/library_window/abbrev_editor_view.h"
#include "ui/library_window/default_browser_only.h"
#include "ui/library_window/folder_editor_window.h"
#include "ui/library_window/import_mode_dialog.h"
#include "ui/sync_question_dialogs.h"
#include "ui/library_window/library_transfers.h"
#include "ui/library_window/main_window.h"
#include "ui/message_boxes.h"
#include "ui/native_file_dialogs.h"
#include "ui/ok_cancel_apply_row.h"
#include "ui/progress_window.h"
#include "ui/table_combo.h"
#include "ui/tooltip_window.h"

namespace tolvan::ui {
namespace {

std::string g_png;

void photograph() {
  const std::string command = "import -window root '" + g_png + "'";
  if (std::system(command.c_str()) != 0) std::cerr << "window_gallery: import failed\n";
}

// After a second: the photograph, then `next`.
void photograph_then(std::function<void()> next) {
  Glib::signal_timeout().connect_once([next] {
    photograph();
    next();
  }, 1000);
}

void answer_open_box() {
  for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
    if (auto* box = dynamic_cast<Gtk::MessageDialog*>(window); box && box->get_mapped())
      box->response(Gtk::RESPONSE_NONE);
  }
}

// A stand-in for the main window behind the box or window being looked at.
struct Backdrop : Gtk::Window {
  Backdrop() {
    set_title("Tolvan");
    set_default_size(700, 500);
    move(40, 40);
    show();
  }
};

// A question with options (the import mode, the sync questions) over the backdrop.
int choice_question(const std::function<void(Gtk::Window&)>& ask) {
  Backdrop backdrop;
  photograph_then([] {
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
      if (auto* dialog = dynamic_cast<ChoiceDialog*>(window)) dialog->response(Gtk::RESPONSE_OK);
    }
  });
  ask(backdrop);
  return 0;
}

int import_mode(bool textexpander) {
  return choice_question([=](Gtk::Window& owner) { ask_import_mode(&owner, textexpander); });
}

int sync_question(bool textexpander, bool existing_file) {
  return choice_question([=](Gtk::Window& owner) {
    DialogSyncQuestions questions([&] { return &owner; });
    if (existing_file) questions.existing_sync_file(textexpander);
    else questions.discard_unsaved_changes_and_sync();
  });
}

// The progress window of a TextExpander import of 100,000 snippets (the benchmark's file),
// photographed while the import runs: the window's pulses keep the main loop turning.
int te_import_progress() {
  testing::TempDir dir;
  const std::string file = dir.file("Settings.textexpander");
  const std::string make = "/usr/bin/python3 -c 'import sys; sys.path.insert(0, \"" TOLVAN_SOURCE_DIR
                           "/bench\"); import te_import_bench as b; b.settings_file(sys.argv[1], 100000)' '" +
                           file + "'";
  if (std::system(make.c_str()) != 0) return 1;
  Backdrop backdrop;
  Library library;
  abbr_ensure_absolute_parent(library.main_list, library.uids);
  abbr_create_sandbox(library);
  Settings prefs;
  RunTimeVariables gvar;
  StreamPrompts prompts(std::cout);  // every question answered No
  testing::QueuedFileDialogs dialogs;
  testing::CountingPendingChanges pending;
  testing::LoggingImportTarget target;
  LibraryTransfers transfers({library, prefs, gvar, prompts, dialogs, pending, target}, &backdrop);
  Glib::signal_timeout().connect_once([] { photograph(); }, 1000);
  const TeImportResult result = transfers.import_te_snippets(file);
  std::cout << "progress windows shown: " << transfers.runner().windows_shown() << "\n";
  return result == TeImportResult::Imported ? 0 : 1;
}

int box(const std::function<void(MessageBoxes&)>& show) {
  Backdrop backdrop;
  MessageBoxes boxes;
  boxes.set_parent(&backdrop);
  photograph_then(answer_open_box);
  show(boxes);
  return 0;
}

int window_until_photographed(Gtk::Window& window) {
  window.show();
  auto loop = Glib::MainLoop::create();
  photograph_then([loop] { loop->quit(); });
  loop->run();
  return 0;
}

struct NoPendingChanges final : PendingChanges {
  bool has_unapplied_changes() const override { return false; }
  bool apply_changes() override { return true; }
};

int backup_manager() {
  tolvan::testing::BackupScene scene;
  StreamPrompts prompts(std::cerr);
  scene.save_library_with({"btw", "omw", "sig", "addr"});
  BackupContext ctx = scene.context(prompts);
  Settings& prefs = scene.prefs;
  for (int i = 0; i < 4; ++i) backup_create_new(ctx, false);
  // Spread over time, as a real list is.
  std::vector<BackupEntry> list = backup_get_file_list(prefs);
  AbbrTime now = abbr_time_now();
  list[1].time = now;
  list[1].time.hour = 0;
  list[1].time.minute = 5;
  list[2].time = {3, 31, 2024, 12, 30, 0};
  list[3].time = {11, 2, 2011, 23, 59, 59};
  list[3].count = 1234;
  prefs.set("backups", backup_list_to_string(list));

  Backdrop backdrop;
  NoPendingChanges pending;
  BackupManagerWindow manager(ctx, pending);
  manager.show_over(&backdrop);
  return window_until_photographed(manager);
}

// A small library to edit: a folder with one record of each type.
struct EditorScene {
  UidCounter uids;
  FolderList sandbox;
  Settings prefs;
  Abbreviation* records[4] = {};

  EditorScene() {
    sandbox.push_back(abbr_create_absolute_parent_folder(uids));
    Folder& work = abbr_add_subfolder_to_folder(*sandbox[0], abbr_new_subfolder_of(uids, sandbox[0].get(), "Work"));
    abbr_add_subfolder_to_folder(work, abbr_new_subfolder_of(uids, &work, "Letters"));
    abbr_add_subfolder_to_folder(*sandbox[0], abbr_new_subfolder_of(uids, sandbox[0].get(), "Home"));
    for (int type = 0; type < 4; ++type) {
      records[type] = &abbr_add_abbrev_to_folder(
          work, abbr_create_new_abbrev(static_cast<AbbrType>(type), &work, {CASE_ADAPT, TRIGGER_WORD_ENDING}));
    }
    records[0]->abbreviations = {"sig", "regards"};
    records[0]->expansion() = "Best regards,\nAnna Berg\n%(Month)/%(Day)/%(Year)";
    records[0]->description = "Signature";
    records[1]->abbreviations = {"term"};
    records[1]->program().location = "/usr/bin/xterm";
    records[1]->program().parameters = "-fa Monospace";
    records[1]->description = "Terminal";
    records[2]->abbreviations = {"gh"};
    records[2]->website().address = "https://www.example.org/";
    records[2]->description = "example.org";
    records[3]->abbreviations = {"as"};
    records[3]->description = "An AppleScript snippet";
    prefs.set("adv_view", "1");
  }
};

int abbrev_editor(int type, bool macro_menu) {
  EditorScene scene;
  tolvan::testing::RecordingEditorHost host;
  StreamPrompts prompts(std::cerr);
  NativeFileDialogs dialogs(prompts);
  DefaultBrowserOnly browsers;
  Gtk::Window window;
  window.set_title("Tolvan");
  window.set_default_size(560, 330);
  window.move(40, 40);
  AbbrevEditorView editor(host, scene.sandbox, scene.prefs, dialogs, browsers);
  window.add(editor);
  window.show_all();
  editor.presenter().show_selection({scene.records[type]});
  if (macro_menu) {
    Glib::signal_timeout().connect_once([&] {
      Gtk::Menu& menu = editor.pop_up_macro_menu();
      // The presets' submenu open too, to see the labels of the moment.
      auto* presets = dynamic_cast<Gtk::MenuItem*>(menu.get_children()[7]);
      menu.select_item(*presets);
    }, 300);
  }
  return window_until_photographed(window);
}

struct NoFolderHost final : FolderEditorHost {
  void add_folder_to_folder(Folder&, const std::string&) override {}
  void folder_modified(Folder&) override {}
};

int folder_editor(FolderEditorMode mode) {
  EditorScene scene;
  NoFolderHost host;
  Backdrop backdrop;
  Folder* work = scene.sandbox[0]->subfolders[0].get();
  work->menu_hotkey = "17 18 87";
  work->menu_hotkey_enabled = 1;
  FolderEditorWindow window(host, scene.sandbox, mode, work, false, false, &backdrop);
  return window_until_photographed(window);
}

struct QuietHook final : KeyboardHookSwitch {
  bool keyboard_hook_installed() const override { return true; }
  bool install_keyboard_hook() override { return true; }
  bool remove_keyboard_hook() override { return true; }
};
struct NoApplySteps final : ApplySteps {
  bool sync_before_apply() override { return true; }
  void register_sandbox_folder_hotkeys() override {}
};

// What the main window shows over it.
enum class MainWindowShot { Editor, FolderMenu, AbbreviationMenu, FolderEditor };

// The main window over a library of `entries` abbreviations (ten folders of them when
// many), the first record of type `type` selected, in the advanced view or not.
int main_window(int entries, AbbrType type, bool advanced, MainWindowShot shot) {
  tolvan::testing::BackupScene scene;
  scene.save_library_with({});
  Library& library = scene.library;
  scene.prefs.set_int("adv_view", advanced ? 1 : 0);
  Folder& top = *library.main_list.at(0);
  const int folders = entries > 100 ? 10 : 2;
  const char* names[] = {"Work", "Home"};
  for (int f = 0; f < folders; ++f) {
    Folder& folder = abbr_add_subfolder_to_folder(
        top, abbr_new_subfolder_of(library.uids, &top, f < 2 ? names[f] : "Folder " + std::to_string(f)));
    for (int i = 0; i < entries / folders; ++i) {
      const AbbrType t = i % 5 == 3 ? ABBR_TYPE_PROGRAM : i % 5 == 4 ? ABBR_TYPE_WEBSITE : ABBR_TYPE_TEXT;
      auto a = abbr_create_new_abbrev(t, &folder, {});
      a->abbreviations = {"ab" + std::to_string(f) + "x" + std::to_string(i)};
      a->description = "Entry " + std::to_string((i * 7919) % 100'000) + " of " + folder.name;
      if (t == ABBR_TYPE_PROGRAM) a->program().location = "/usr/bin/xterm";
      else if (t == ABBR_TYPE_WEBSITE) a->website().address = "https://www.example.org/";
      else a->expansion() = "Kind regards,\nEntry " + std::to_string(i);
      abbr_add_abbrev_to_folder(folder, std::move(a));
    }
  }
  abbr_create_sandbox(library);
  StreamPrompts prompts(std::cerr);
  QuietHook hook;
  EnabledSwitch enabled(hook);
  NoApplySteps steps;
  NativeFileDialogs dialogs(prompts);
  MainWindow window(MainWindowContext{library, scene.prefs, scene.gvar, prompts, enabled, steps, [] {}, [] {},
                                      dialogs, nullptr, {}, true});
  window.move(20, 20);
  window.show_from_tray();
  window.folder_view().expand_all();
  Folder* first = library.sandbox.at(0)->subfolders.at(0).get();
  window.select_folder(first);
  const std::vector<Abbreviation*> rows = window.listed_records();
  auto row = std::find_if(rows.begin(), rows.end(), [type](Abbreviation* a) { return a->type() == type; });
  if (row != rows.end()) window.list_view().set_cursor(Gtk::TreePath(std::to_string(row - rows.begin())));
  Glib::signal_timeout().connect_once([&window, shot] {
    switch (shot) {
      case MainWindowShot::Editor: break;
      case MainWindowShot::FolderMenu: window.pop_up_folder_menu(nullptr); break;
      case MainWindowShot::AbbreviationMenu: window.pop_up_abbreviation_menu(nullptr); break;
      case MainWindowShot::FolderEditor: window.edit_folder(); break;
    }
  }, 300);
  return window_until_photographed(window);
}

int preview(const std::string& text) {
  Gtk::Window editor;
  editor.set_title("Editor");
  editor.set_default_size(600, 200);
  editor.move(100, 100);
  Gtk::Entry entry;
  entry.set_text("Thanks, btw");
  editor.add(entry);
  editor.show_all();
  TooltipWindow tooltip;
  Glib::signal_timeout().connect_once([&] { tooltip.show(190, 150, text); }, 300);
  auto loop = Glib::MainLoop::create();
  photograph_then([loop] { loop->quit(); });
  loop->run();
  return 0;
}

constexpr ComboRow kTriggers[] = {{3, "Immediately"},
                                  {4, "After the trigger key", "input-keyboard"},
                                  {5, "After a word-ending character"}};

int toolkit() {
  Gtk::Window window;
  window.set_title("Toolkit");
  window.set_border_width(6);
  Gtk::Box layout(Gtk::ORIENTATION_VERTICAL, 6);
  Gtk::Label caption("_Trigger:", true);
  caption.set_xalign(0);
  TableCombo combo(kTriggers);
  combo.select_id(4);
  caption.set_mnemonic_widget(combo);
  OkCancelApplyRow row([] {}, [] {}, [] {});
  layout.pack_start(caption, Gtk::PACK_SHRINK);
  layout.pack_start(combo, Gtk::PACK_SHRINK);
  layout.pack_end(row, Gtk::PACK_SHRINK);
  window.add(layout);
  window.set_default_size(360, 160);
  window.show_all();
  return window_until_photographed(window);
}

// The Preferences window on one of its pages, in normal or TextExpander mode.
int preferences(int page, bool te_mode) {
  Backdrop backdrop;
  Settings prefs;
  RunTimeVariables gvar;
  gvar.set("current_appdata_dir", "/home/ann/.local/share/tolvan");
  prefs_set_defaults(prefs, gvar);
  prefs.set("textexpander_mode", te_mode ? "1" : "0");
  prefs.set("acm_enable", "1");
  prefs.set("acm_hotkey", "17 32");  // the launch pad's too: the warning shows
  Library library;
  StreamPrompts prompts(std::cerr);
  NativeFileDialogs dialogs(prompts);
  tolvan::testing::RecordingPreferencesSteps steps(prefs);
  PreferencesWindow window({prefs, gvar, library, prompts, dialogs, steps,
                            [] { return std::optional<std::string>("/home/ann/Dropbox"); }});
  window.show_over(&backdrop);
  window.notebook().set_current_page(page);
  auto loop = Glib::MainLoop::create();
  photograph_then([loop] { loop->quit(); });
  loop->run();
  return 0;
}

int run(const std::string& kind) {
  using namespace std::chrono_literals;
  const std::map<std::string, std::function<int()>> kinds = {
      {"info", [] { return box([](MessageBoxes& b) { b.info("Backup successfully restored. Make sure you click the Apply button to apply the changes (or Cancel to cancel them)."); }); }},
      {"error", [] { return box([](MessageBoxes& b) { b.yes_no("Unable to save a backup copy of your abbreviations to /home/user/.config/tolvan/backups/03_15_2012_14_05_09.tlv: Permission denied\n\nYou may want to modify the backup settings in Preferences.\n\nWould you like me to try again?", PromptKind::Error); }); }},
      {"question", [] { return box([](MessageBoxes& b) { b.yes_no("Create a backup of your current abbreviations before restoring this backup?", PromptKind::Question); }); }},
      {"yes-no-cancel", [] { return box([](MessageBoxes& b) { b.yes_no_cancel("You have unapplied changes (100% of them are yours). Apply them before quitting?"); }); }},
      {"ask-again", [] { return box([](MessageBoxes& b) { b.ask_again("Tolvan keeps running in the system tray. Click its icon to open this window again.", PromptKind::Info, false); }); }},
      {"text-area", [] { return box([](MessageBoxes& b) { bool again = false; b.show_textview(PromptKind::Warning, MessageButtons::Ok, "Some abbreviations could not be imported:", "line 12: unknown macro %(foo)\nline 40: an abbreviation without a name\nline 41: an abbreviation without a name\n", &again); }); }},
      {"entry", [] { return box([](MessageBoxes& b) { b.ask_for_entry(PromptKind::Question, MessageButtons::OkCancel, "The proxy asks for a password.", "_Password:", false); }); }},
      {"timed", [] { return box([](MessageBoxes& b) { b.show_timed(PromptKind::Question, MessageButtons::YesNo, "The shared folder changed. Read the changes now?", 10s, Response::Yes); }); }},
      {"preview", [] { return preview("by the way"); }},
      {"preview-long", [] { return preview("Dear Sir or Madam,\n\nThank you for your letter of the 3rd. We are pleased to confirm that your order has been dispatched and will reach you within the next five working days, together with the invoice and the instructions you asked for.\n\nKind regards"); }},
      {"backup-manager", backup_manager},
      {"progress", [] {
         Backdrop backdrop;
         ProgressWindow progress(&backdrop, "Exporting", "Exporting to TextExpander...");
         Glib::signal_timeout().connect([&progress] { progress.pulse(); return true; }, 100);
         return window_until_photographed(progress);
       }},
      {"import-mode", [] { return import_mode(false); }},
      {"import-mode-te", [] { return import_mode(true); }},
      {"sync-existing-file", [] { return sync_question(false, true); }},
      {"sync-existing-file-te", [] { return sync_question(true, true); }},
      {"sync-unsaved-changes", [] { return sync_question(false, false); }},
      {"te-import-progress", te_import_progress},
      {"about", [] {
         Backdrop backdrop;
         StreamPrompts prompts(std::cerr);
         AboutDialog about(&backdrop, TOLVAN_SOURCE_DIR, prompts);
         return window_until_photographed(about);
       }},
      {"toolkit", toolkit},
      {"editor-text", [] { return abbrev_editor(0, false); }},
      {"editor-program", [] { return abbrev_editor(1, false); }},
      {"editor-website", [] { return abbrev_editor(2, false); }},
      {"editor-unsupported", [] { return abbrev_editor(3, false); }},
      {"editor-macro-menu", [] { return abbrev_editor(0, true); }},
      {"folder-editor-add", [] { return folder_editor(FolderEditorMode::Add); }},
      {"main-window", [] { return main_window(10, ABBR_TYPE_TEXT, false, MainWindowShot::Editor); }},
      {"main-window-advanced", [] { return main_window(10, ABBR_TYPE_TEXT, true, MainWindowShot::Editor); }},
      {"main-window-program", [] { return main_window(10, ABBR_TYPE_PROGRAM, true, MainWindowShot::Editor); }},
      {"main-window-website", [] { return main_window(10, ABBR_TYPE_WEBSITE, true, MainWindowShot::Editor); }},
      {"main-window-program-normal", [] { return main_window(10, ABBR_TYPE_PROGRAM, false, MainWindowShot::Editor); }},
      {"main-window-folder-menu", [] { return main_window(10, ABBR_TYPE_TEXT, false, MainWindowShot::FolderMenu); }},
      {"main-window-abbreviation-menu", [] { return main_window(10, ABBR_TYPE_TEXT, false, MainWindowShot::AbbreviationMenu); }},
      {"main-window-folder-editor", [] { return main_window(10, ABBR_TYPE_TEXT, false, MainWindowShot::FolderEditor); }},
      {"main-window-100000", [] { return main_window(100'000, ABBR_TYPE_TEXT, false, MainWindowShot::Editor); }},
      {"folder-editor-edit", [] { return folder_editor(FolderEditorMode::Edit); }},
  };
  // preferences-N and preferences-te-N: the Preferences window's page N (0 to 6).
  for (const char* prefix : {"preferences-te-", "preferences-"}) {
    const std::string_view start(prefix);
    if (kind.size() == start.size() + 1 && kind.compare(0, start.size(), start) == 0 && kind.back() >= '0' &&
        kind.back() <= '6')
      return preferences(kind.back() - '0', start == "preferences-te-");
  }
  auto found = kinds.find(kind);
  if (found == kinds.end()) {
    std::cerr << "window_gallery: no such kind: " << kind << "\nkinds:";
    for (const auto& [name, _] : kinds) std::cerr << " " << name;
    std::cerr << "\n";
    return 2;
  }
  return found->second();
}

}  // namespace
}  // namespace tolvan::ui

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: window_gallery KIND PNG\n";
    return 2;
  }
  if (!gtk_init_check(&argc, &argv)) {
    std::cerr << "window_gallery: no display\n";
    return 1;
  }
  Gtk::Main::init_gtkmm_internals();
  // The pointer rests in the screen's corner, where it raises no tooltip over the photograph.
  GdkWindow* root = gdk_get_default_root_window();
  gdk_device_warp(gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())),
                  gdk_screen_get_default(), gdk_window_get_width(root) - 1,
                  gdk_window_get_height(root) - 1);
  tolvan::ui::g_png = argv[2];
  return tolvan::ui::run(argv[1]);
}
