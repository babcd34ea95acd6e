// LibraryTransfers: the main window's imports and exports (the File menu, the folder
// context menu, a file named at the start or handed over by a second start). Each runs
// its flow with the desktop's dialogs: the "Select Import Mode" dialog, the file dialogs,
// the message boxes, and TextExpander files read and written on a worker thread behind a
// progress window. While one runs, another request is turned away.
#pragma once

#include <gtkmm/window.h>

#include <optional>
#include <string>

#include "import/te_import.h"
#include "presenters/library_window/transfer_context.h"
#include "ui/library_window/progress_work_runner.h"

namespace tolvan::ui {

// What the transfers work with; everything outlives them.
using LibraryTransfersContext = TransferParties;

class LibraryTransfers {
 public:
  // The dialogs and the progress window belong to `parent` (may be null).
  LibraryTransfers(const LibraryTransfersContext& ctx, Gtk::Window* parent);
  LibraryTransfers(const LibraryTransfers&) = delete;
  LibraryTransfers& operator=(const LibraryTransfers&) = delete;

  // File > Import Exported Abbreviations (no path: a file is asked for), and a Tolvan
  // file named at the start or handed over.
  bool import_abbrevs(std::optional<std::string> path);
  // File > Import TextExpander Snippets (no path: a file is asked for), and a TextExpander
  // file named at the start or handed over.
  TeImportResult import_te_snippets(std::optional<std::string> path);
  // File > Export (null: the whole library), the folder menu's Export and Export to HTML.
  bool export_abbrevs(const Folder* folder, bool html);
  // File > Export as TextExpander (null: a settings file of the whole library), the folder
  // menu's Export as TextExpander Group.
  bool export_te_snippets(const Folder* folder);
  // The included sets of the File menu ("Examples", "Typo AutoCorrections", ...).
  bool import_included_set(const std::string& name);

  bool busy() const { return busy_; }
  ProgressWorkRunner& runner() { return runner_; }

 private:
  template <class Flow>
  auto guarded(Flow flow, decltype(flow()) turned_away);

  Gtk::Window* parent_;
  ProgressWorkRunner runner_;
  TransferContext ctx_;
  bool busy_ = false;
};

}  // namespace tolvan::ui
