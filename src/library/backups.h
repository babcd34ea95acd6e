// Backups: rotating copies of the abbreviation file in the backup folder, recorded newest
// first in the preference `backups`, limited in number, restored into the sandbox, moved
// when the backup folder changes and deleted on request. Every operation reads the list
// afresh from the preferences and stores it back, saving the preferences at once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/abbrtime.h"
#include "core/prompts.h"
#include "core/result.h"
#include "library/library.h"
#include "settings/gvar.h"
#include "settings/settings.h"

namespace tolvan {

struct BackupEntry {
  std::string path;
  int count = 0;  // abbreviations in the library when the backup was made
  AbbrTime time;  // when it was made

  friend bool operator==(const BackupEntry&, const BackupEntry&) = default;
};

// Everything the backup module works with. The callbacks belong to the user interface and
// may be left empty.
struct BackupContext {
  Settings& prefs;
  RunTimeVariables& gvar;  // prefs_file, abbreviations_file
  Library& library;
  Prompts& prompts;
  // The backup manager refreshes its list.
  std::function<void()> list_changed;
  // After a restore replaced the sandbox: the main window rebuilds its folder tree,
  // TextExpander mode reshapes the sandbox, the backup manager hides.
  std::function<void()> sandbox_restored;
};

// The `backups` text: one line per entry, path "*" count "*" time as 14 hexadecimal
// digits, newest first, lines separated by a single line feed.
std::vector<BackupEntry> backup_list_from_string(std::string_view text);
std::string backup_list_to_string(const std::vector<BackupEntry>& list);

// The list in the preferences. A missing count reads as 0; a missing time is the file's
// last-write time (now when that cannot be read).
std::vector<BackupEntry> backup_get_file_list(const Settings& prefs);
// Stores the list and saves the preferences.
Status backup_set_file_list(BackupContext& ctx, const std::vector<BackupEntry>& list);

// Puts an entry for `path` first: the main list's number of abbreviations, now.
Status record_successful_backup(BackupContext& ctx, const std::string& path);
// Keeps only the entries whose file exists, and stores the list.
void backups_remove_non_existing(BackupContext& ctx);
// Drops vanished entries; with limit_total_backup, deletes the oldest backups until at most
// backup_max_count remain (one less when `about_to_add`). A file that cannot be deleted
// keeps its entry and still counts as one deletion.
void backups_consolidate(BackupContext& ctx, bool about_to_add);

// <backup_dir>/<MM_DD_YYYY_hh_mm_ss>.tlv, or with 1 to 9999 after the stamp when taken;
// "" when every name is taken.
std::string backup_file_name_for(const std::string& backup_dir, const AbbrTime& now);

// Makes a backup now, unless auto_backup is 0: of the abbreviation file (false) or by
// writing the sandbox (`from_working_copy`). On failure the user may try again. Returns the
// new backup's path, or "" when none was made.
std::string backup_create_new(BackupContext& ctx, bool from_working_copy);

// Loads the backup in import mode (its own time as default time) into the sandbox; the
// main list and the library file change only when the user applies. Returns whether it
// was restored (a failed load may be retried; No changes nothing).
bool backup_restore_from_file(BackupContext& ctx, const std::string& path);

// Moves every backup file into `folder` (never replacing a file there), updating the
// entries that moved; tells the user once when some stayed behind.
void backups_move_from_old_to_new_dir(BackupContext& ctx, const std::string& folder);

// Deletes every listed backup file; tells the user once when some could not be deleted.
void backup_delete_all(BackupContext& ctx);

// The backup manager's time column: "Today, ", "Yesterday, " (the previous day of the same
// month) or "M/D/YYYY ", then "h:mm:ss AM". `time` nullptr means now; `today` is the date
// to compare with.
std::string abbr_time_to_backup_time_string(const AbbrTime* time, const AbbrTime& today);
std::string abbr_time_to_backup_time_string(const AbbrTime* time);

}  // namespace tolvan
