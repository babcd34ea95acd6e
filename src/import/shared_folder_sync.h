// Shared-folder sync: the library kept in step across computers through a folder a
// file-sync service replicates, either as the abbreviation file itself (own format) or as
// TextExpander's settings file (TextExpander compatible). The program's two-second timer
// calls poll(); applying the main window's changes calls write_before_apply() first and
// library_saved() after the save. A sync file is read only when it could be read whole: a
// damaged or half-written one leaves the library as it was and the user is told.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/prompts.h"
#include "import/sync_files.h"
#include "import/sync_questions.h"
#include "library/library.h"
#include "settings/gvar.h"
#include "settings/settings.h"

namespace tolvan {

// te_dump_abbrevs_to_dropbox_if_necessary's results.
enum class SyncWrite { Written = 0, Failed = 1, NotApplicable = 2 };

// te_dropbox_sync_just_enabled_in_prefs's results.
enum class SyncEnabling { Done = 0, Failed = 1, Cancelled = 3, SyncWithExisting = 4 };

struct SyncContext {
  Settings& prefs;
  RunTimeVariables& gvar;  // te_sync_file, nm_sync_file, abbreviations_file, flags
  Library& library;
  Prompts& prompts;
  SyncQuestions& questions;
  SyncWindow* window = nullptr;  // the main window, once it exists
  // A TextExpander read changed the main list's folders: their menu hotkeys are
  // registered again (hotkey_handle_acm_hotkeys with 0).
  std::function<void()> folder_hotkeys_changed;
  // The poll switched TextExpander mode on: the windows show its elements.
  std::function<void()> te_mode_switched_on;
  // Tolvan's macros as TextExpander's codes, for snippets built from an expansion.
  std::string (*to_te_macros)(std::string_view) = nullptr;
};

class SharedFolderSync {
 public:
  explicit SharedFolderSync(SyncContext ctx) : ctx_(std::move(ctx)) {}

  // sync_set_temp_disabled: the Preferences window stops the poll while it applies.
  void set_temp_disabled(bool disabled) { temp_disabled_ = disabled; }

  // sync_read_changes_timeout, the two-second poll. When nothing changed it costs one stat
  // of the sync file. A poll that comes while another one asks or reads (the timer fires
  // inside a dialog's own loop) does nothing. Always true: the timer keeps running.
  bool poll();
  // sync_read_changes_if_nec: test, ask when there are unapplied changes (backing them up
  // when the answer is Sync), record the time stamp, read. Answers whether it read.
  bool read_changes_if_necessary();
  // sync_read_changes: the read itself, with the syncing notice.
  void read_changes(SyncMode mode);

  // te_dump_abbrevs_to_dropbox_if_necessary: the list written as the TextExpander sync
  // file, in place (the dictionaries and uuids it builds stay in the library).
  SyncWrite write_te_if_necessary(ListIndex index, bool force,
                                  std::optional<SyncMode> mode = std::nullopt,
                                  const std::string& file = "");
  // The first step of Apply: the sandbox written to the TextExpander sync file when that
  // sync is on; Written marks every folder of both lists as a TextExpander group. Failed:
  // the changes must not be applied (they stay pending).
  SyncWrite write_before_apply();
  // After the library file was saved: in own-format sync that file is the sync file, and
  // its new time is recorded so that the poll does not read back this computer's write.
  void library_saved();

  // sync_we_just_loaded_main_list: at start-up, in own-format sync, the file just loaded
  // is current.
  void main_list_just_loaded();
  // te_sync_read_snippets_if_nec: at start-up, in TextExpander-compatible sync, a read when
  // the file changed since the last run.
  void read_te_at_start();

  // te_dropbox_sync_just_enabled_in_prefs: TextExpander-compatible sync just switched on
  // with `file` as its sync file.
  SyncEnabling te_sync_just_enabled(const std::string& file);
  // Own-format sync just switched on with `file` (the abbreviation file in the shared
  // folder): an existing file is kept (SyncWithExisting: the caller resets the time
  // stamps so the next poll loads it), or copied aside and overwritten by the library.
  SyncEnabling own_sync_just_enabled(const std::string& file);

  // te_prefs_modified: TextExpander's preference keys follow Tolvan's; when the main
  // list's changed, the sync file is written again.
  void prefs_modified();

 private:
  void read_te(const std::string& file);
  void read_own(const std::string& file);
  void save_after_te_read();
  void mark_folders_as_textexpander();
  void read_failed(SyncMode mode, const std::string& reason);
  // The existing-file question when `file` exists: the answer that ends the switching on,
  // or nothing when the file is to be overwritten (or there is none).
  std::optional<SyncEnabling> keep_existing_file(const std::string& file, bool textexpander);

  SyncContext ctx_;
  bool temp_disabled_ = false;
  bool polling_ = false;
};

}  // namespace tolvan
