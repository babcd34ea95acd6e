#include "import/sync_files.h"

#include <sys/stat.h>

#include "core/paths.h"
#include "settings/prefs.h"

namespace tolvan {
namespace {

const char* timestamp_key(SyncMode mode) {
  return mode == SyncMode::TextExpander ? "te_sync_ts" : "nm_sync_ts";
}

const char* file_name(SyncMode mode) {
  return mode == SyncMode::TextExpander ? "Settings.textexpander" : "abbreviations.tlv";
}

}  // namespace

bool sync_enabled(const Settings& prefs) { return prefs.get_int("use_diff_abbrev_dir") != 0; }

SyncMode sync_get_mode(const Settings& prefs) {
  return prefs.get_int("sync_te") == 1 ? SyncMode::TextExpander : SyncMode::Own;
}

const std::string& sync_file_path(const RunTimeVariables& gvar, SyncMode mode) {
  return gvar.get(mode == SyncMode::TextExpander ? "te_sync_file" : "nm_sync_file");
}

std::string sync_file_path_from_prefs_dir(const Settings& prefs, SyncMode mode,
                                          std::optional<std::string_view> dir) {
  return path_join(prefs_get_correct_diff_dir(prefs, dir, mode == SyncMode::TextExpander),
                   file_name(mode));
}

const char* sync_wait_till_file_exists_key(SyncMode mode) {
  return mode == SyncMode::TextExpander ? "te_sync_wait_till_file_exists"
                                        : "nm_sync_wait_till_file_exists";
}

std::optional<AbbrTime> sync_file_time(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return abbr_time_from_unix(st.st_mtime);
}

void sync_update_timestamp(Settings& prefs, SyncMode mode, const std::string& file) {
  const AbbrTime time = sync_file_time(file).value_or(abbr_time_now());
  prefs.set(timestamp_key(mode), abbr_time_to_hex_string(time));
}

void sync_reset_timestamps(Settings& prefs) {
  prefs.delete_key("nm_sync_ts");
  prefs.delete_key("te_sync_ts");
}

bool sync_file_changed_since(const Settings& prefs, RunTimeVariables& gvar, SyncMode mode) {
  const std::optional<AbbrTime> time = sync_file_time(sync_file_path(gvar, mode));
  const char* waiting = sync_wait_till_file_exists_key(mode);
  if (time && gvar.get_int(waiting) == 1) {
    gvar.set_int(waiting, 0);
    return true;
  }
  if (!time) {
    // A file that vanished (another computer deleted it, or the sync service is replacing
    // it) is read again when it comes back, even with the time recorded for it.
    gvar.set_int(waiting, 1);
    return false;
  }
  const std::string& recorded = prefs.get(timestamp_key(mode));
  // A record of the wrong length would read as "now", which must not count as the same.
  return recorded.size() != 14 || abbr_time_str_to_abbrtime(recorded) != *time;
}

}  // namespace tolvan
