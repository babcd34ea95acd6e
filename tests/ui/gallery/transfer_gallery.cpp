// transfer_gallery KIND PNG [FILE]: photographs the import and export windows as the
// program shows them, for looking at them under scripts/with-x.sh:
//   import-mode      the "Select Import Mode" dialog in the abbreviations' wording
//   import-mode-te   the same in TextExpander's wording
//   te-import        the progress window while FILE (a large TextExpander file) is imported
#include <glibmm/main.h>
#include <gtkmm/main.h>

#include <cstdlib>
#include <iostream>
#include <sstream>

#include "library/folder_tree.h"
#include "support/transfer_doubles.h"
#include "ui/library_window/import_mode_dialog.h"
#include "ui/library_window/library_transfers.h"

namespace tolvan::ui {
namespace {

std::string g_png;

void photograph() {
  const std::string command = "import -window root '" + g_png + "'";
  if (std::system(command.c_str()) != 0) std::cerr << "transfer_gallery: import failed\n";
}

struct Backdrop : Gtk::Window {
  Backdrop() {
    set_title("Tolvan");
    set_default_size(700, 500);
    move(40, 40);
    show();
  }
};

int import_mode(bool textexpander) {
  Backdrop backdrop;
  Glib::signal_timeout().connect_once([] {
    photograph();
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
      if (auto* dialog = dynamic_cast<ImportModeDialog*>(window)) dialog->response(Gtk::RESPONSE_OK);
    }
  }, 1000);
  ask_import_mode(&backdrop, textexpander);
  return 0;
}

int te_import(const std::string& file) {
  Backdrop backdrop;
  Library library;
  abbr_ensure_absolute_parent(library.main_list, library.uids);
  abbr_create_sandbox(library);
  Settings prefs;
  RunTimeVariables gvar;
  std::ostringstream said;
  StreamPrompts prompts(said);  // every question answered No
  testing::QueuedFileDialogs dialogs;
  testing::CountingPendingChanges pending;
  testing::LoggingImportTarget target;
  LibraryTransfers transfers({library, prefs, gvar, prompts, dialogs, pending, target}, &backdrop);
  // Fires while the import runs: the progress window's pulses let the main loop go on.
  Glib::signal_timeout().connect_once([] { photograph(); }, 1000);
  const TeImportResult result = transfers.import_te_snippets(file);
  std::cout << said.str() << "progress windows shown: " << transfers.runner().windows_shown()
            << ", result " << int(result) << "\n";
  return result == TeImportResult::Imported ? 0 : 1;
}

}  // namespace
}  // namespace tolvan::ui

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: transfer_gallery import-mode|import-mode-te|te-import PNG [FILE]\n";
    return 2;
  }
  Gtk::Main kit(argc, argv);
  const std::string kind = argv[1];
  tolvan::ui::g_png = argv[2];
  if (kind == "import-mode") return tolvan::ui::import_mode(false);
  if (kind == "import-mode-te") return tolvan::ui::import_mode(true);
  if (kind == "te-import" && argc > 3) return tolvan::ui::te_import(argv[3]);
  std::cerr << "transfer_gallery: unknown kind " << kind << "\n";
  return 2;
}
