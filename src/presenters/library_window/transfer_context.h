// What the import and export flows of the main window work with: the library, the
// questions they ask, the window they report to, and the runner of their long work.
#pragma once

#include <functional>
#include <string>

#include "core/abbrtime.h"
#include "core/prompts.h"
#include "import/import_mode.h"
#include "library/library.h"
#include "presenters/file_dialogs.h"
#include "presenters/pending_changes.h"
#include "settings/gvar.h"
#include "settings/settings.h"

namespace tolvan {

// The main window as an import changes its sandbox.
class ImportTarget {
 public:
  virtual ~ImportTarget() = default;
  // Replace emptied the sandbox: the window lets go of the folders it showed, at once.
  virtual void sandbox_replaced() = 0;
  // A folder joined the sandbox: the window shows and selects it under the expanded All
  // row, and Apply becomes sensitive.
  virtual void folder_imported(Folder& folder) = 0;
  // The import switched TextExpander mode on (both lists are reshaped already): the
  // window shows its TextExpander elements and lists the sandbox afresh.
  virtual void textexpander_mode_switched_on() = 0;
};

// Runs long work (a TextExpander file read or written) to its end before returning. The
// desktop runs it on a worker thread and shows a pulsing progress window titled `title`
// when it takes long; `work` tells the bar's text from the thread it runs on. Tests run it
// at once.
class WorkRunner {
 public:
  using Say = std::function<void(const std::string& text)>;
  virtual ~WorkRunner() = default;
  virtual void run(const std::string& title, const std::string& text,
                   const std::function<void(const Say& say)>& work) = 0;
};

// What the flows change, whom they ask and whom they tell.
struct TransferParties {
  Library& library;
  Settings& prefs;
  RunTimeVariables& gvar;
  Prompts& prompts;
  FileDialogs& dialogs;
  PendingChanges& pending;
  ImportTarget& target;
};

struct TransferContext : TransferParties {
  WorkRunner& runner;
  // The "Select Import Mode" dialog, in TextExpander's wording when asked so.
  std::function<ImportMode(bool textexpander_wording)> ask_import_mode;
  std::function<AbbrTime()> now = abbr_time_now;
};

}  // namespace tolvan
