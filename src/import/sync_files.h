// Where the shared-folder sync file is and whether it changed: the sync preferences' meaning,
// the time stamps recorded after every read and write (te_sync_ts, nm_sync_ts) and the
// change test the poll makes every two seconds with one stat of the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/abbrtime.h"
#include "settings/gvar.h"
#include "settings/settings.h"

namespace tolvan {

// Own format: the abbreviation file itself lives in the shared folder. TextExpander: the
// library is mirrored into TextExpander's settings file there.
enum class SyncMode { Own = 0, TextExpander = 1 };

// use_diff_abbrev_dir non-zero.
bool sync_enabled(const Settings& prefs);
// TextExpander when sync_te is 1.
SyncMode sync_get_mode(const Settings& prefs);
// The mode's sync file as the run-time variables hold it (te_sync_file, nm_sync_file).
const std::string& sync_file_path(const RunTimeVariables& gvar, SyncMode mode);
// sync_file_path_from_prefs_dir: the mode's file in `dir` (the shared folder; the
// preference when nullopt), with the mode's subfolder unless aldir is set.
std::string sync_file_path_from_prefs_dir(const Settings& prefs, SyncMode mode,
                                          std::optional<std::string_view> dir);

// The file's last-write time as local time, or nothing when it cannot be read.
std::optional<AbbrTime> sync_file_time(const std::string& path);

// sync_update_timestamp: the file's last-write time (now when it cannot be read) as the
// mode's record.
void sync_update_timestamp(Settings& prefs, SyncMode mode, const std::string& file);
// sync_reset_timestamps: both records deleted, so the next poll sees a change.
void sync_reset_timestamps(Settings& prefs);

// sync_file_changed_since: a file that appeared after a read or poll found none; else a readable
// last-write time that differs, to the second, from the record (a missing record differs).
bool sync_file_changed_since(const Settings& prefs, RunTimeVariables& gvar, SyncMode mode);

// The run-time flag set after a read found no file (te_ / nm_sync_wait_till_file_exists).
const char* sync_wait_till_file_exists_key(SyncMode mode);

}  // namespace tolvan
