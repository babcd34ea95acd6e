// Making, listing, limiting, restoring, moving and deleting backups.
#include "library/backups.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/paths.h"
#include "core/strings.h"
#include "library/abbrev_reader.h"
#include "library/abbrev_writer.h"
#include "library/file_moves.h"
#include "library/folder_tree.h"
#include "library/lookups.h"
#include "library/messages.h"
#include "settings/prefs.h"

namespace tolvan {
namespace {

void tell_list_changed(BackupContext& ctx) {
  if (ctx.list_changed) ctx.list_changed();
}

void store(BackupContext& ctx, const std::vector<BackupEntry>& list) {
  // A failed preferences save leaves the list in memory; it is saved with the next one.
  (void)backup_set_file_list(ctx, list);
}

size_t abbreviations_in_main_list(Library& library) {
  auto lock = library.lock_main_list();
  size_t n = 0;
  for (const auto& top : library.main_list) n += abbr_get_n_abbrevs_in_folder(*top);
  return n;
}

std::string stamp(const AbbrTime& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2d_%.2d_%.4d_%.2d_%.2d_%.2d", int{t.month}, int{t.day},
                int{t.year}, int{t.hour}, int{t.minute}, int{t.second});
  return buf;
}

bool same_date(const AbbrTime& a, const AbbrTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

}  // namespace

std::vector<BackupEntry> backup_list_from_string(std::string_view text) {
  std::vector<BackupEntry> list;
  for (const std::string& line : strsplit(text, "\n")) {
    std::vector<std::string> pieces = strsplit(line, "*");
    if (pieces.empty()) continue;
    BackupEntry entry;
    entry.path = pieces[0];
    entry.count = pieces.size() > 1 ? std::atoi(pieces[1].c_str()) : 0;
    entry.time = pieces.size() > 2 ? abbr_time_str_to_abbrtime(pieces[2])
                                   : abbr_file_time_or_now(entry.path);
    list.push_back(std::move(entry));
  }
  return list;
}

std::string backup_list_to_string(const std::vector<BackupEntry>& list) {
  std::string text;
  for (size_t i = 0; i < list.size(); ++i) {
    if (i > 0) text += '\n';
    text += list[i].path + "*" + std::to_string(list[i].count) + "*" +
            abbr_time_to_hex_string(list[i].time);
  }
  return text;
}

std::vector<BackupEntry> backup_get_file_list(const Settings& prefs) {
  return backup_list_from_string(prefs.get("backups"));
}

Status backup_set_file_list(BackupContext& ctx, const std::vector<BackupEntry>& list) {
  ctx.prefs.set("backups", backup_list_to_string(list));
  Status saved = prefs_save(ctx.prefs, ctx.gvar);
  tell_list_changed(ctx);
  return saved;
}

Status record_successful_backup(BackupContext& ctx, const std::string& path) {
  std::vector<BackupEntry> list = backup_get_file_list(ctx.prefs);
  BackupEntry entry{path, static_cast<int>(abbreviations_in_main_list(ctx.library)),
                    abbr_time_now()};
  list.insert(list.begin(), std::move(entry));
  return backup_set_file_list(ctx, list);
}

void backups_remove_non_existing(BackupContext& ctx) {
  std::vector<BackupEntry> kept;
  for (auto& entry : backup_get_file_list(ctx.prefs)) {
    if (isfile(entry.path)) kept.push_back(std::move(entry));
  }
  store(ctx, kept);
}

void backups_consolidate(BackupContext& ctx, bool about_to_add) {
  backups_remove_non_existing(ctx);
  if (ctx.prefs.get_int("limit_total_backup") == 0) return;
  std::vector<BackupEntry> list = backup_get_file_list(ctx.prefs);
  long n = static_cast<long>(list.size()) + (about_to_add ? 1 : 0);
  long excess = n - ctx.prefs.get_int("backup_max_count");
  for (long i = static_cast<long>(list.size()) - 1; i >= 0 && excess > 0; --i, --excess) {
    if (::unlink(list[i].path.c_str()) == 0 || errno == ENOENT) {
      list.erase(list.begin() + i);
    }
  }
  store(ctx, list);
}

std::string backup_file_name_for(const std::string& backup_dir, const AbbrTime& now) {
  const std::string base = path_join(backup_dir, stamp(now));
  if (!isfile(base + ".tlv")) return base + ".tlv";
  for (int n = 1; n <= 9999; ++n) {
    std::string candidate = base + std::to_string(n) + ".tlv";
    if (!isfile(candidate)) return candidate;
  }
  return {};
}

std::string backup_create_new(BackupContext& ctx, bool from_working_copy) {
  if (ctx.prefs.get_int("auto_backup") == 0) return {};
  const std::string dir = ctx.prefs.get("backup_dir");
  mkdir_p(dir);
  backups_consolidate(ctx, true);
  while (true) {
    std::string name = backup_file_name_for(dir, abbr_time_now());
    Status made = name.empty() ? Status(Error{"every backup name for this second is taken"})
                  : from_working_copy
                      ? abbr_write_folder_list_file(ctx.library.sandbox, name)
                      : copy_file_safely(ctx.gvar.get("abbreviations_file"), name);
    if (made) {
      (void)record_successful_backup(ctx, name);
      return name;
    }
    std::string message = "Unable to save a backup copy of your abbreviations to " +
                          (name.empty() ? dir : name) + ": " + made.error() +
                          "\n\nYou may want to modify the backup settings in Preferences."
                          "\n\nWould you like me to try again?";
    if (!ctx.prompts.yes_no(message, PromptKind::Error)) return {};
  }
}

bool backup_restore_from_file(BackupContext& ctx, const std::string& path) {
  Result<ImportedLibrary> loaded = Error{""};
  while (!(loaded = abbr_load_abbreviations_from_file(path, ctx.library.uids, false))) {
    std::string message = "Unable to load backup file '" + path + "': " + loaded.error() +
                          "\n\nWould you like me to try again?\n\nIf this keeps happening, "
                          "try rebooting your system. " +
                          std::string(kSupportContactLine);
    if (!ctx.prompts.yes_no(message, PromptKind::Error)) return false;
  }
  std::unique_ptr<Folder> root = std::move(loaded->root);
  FolderList sandbox;
  if (equals_ignore_case(root->name, kAbsoluteParentName)) {
    sandbox.push_back(std::move(root));
  } else {
    sandbox.push_back(abbr_create_absolute_parent_folder(ctx.library.uids));
    abbr_add_subfolder_to_folder(*sandbox.front(), std::move(root));
  }
  ctx.library.sandbox = std::move(sandbox);
  if (ctx.sandbox_restored) ctx.sandbox_restored();
  ctx.prompts.info(
      "Backup successfully restored. Make sure you click the Apply button to apply the "
      "changes (or Cancel to cancel them).");
  return true;
}

void backups_move_from_old_to_new_dir(BackupContext& ctx, const std::string& folder) {
  mkdir_p(folder);
  std::vector<BackupEntry> list = backup_get_file_list(ctx.prefs);
  bool failed = false;
  for (auto& entry : list) {
    std::string to = path_join(folder, parse_out_filename(entry.path));
    if (to == entry.path) continue;
    if (rename_no_replace(entry.path, to)) {
      entry.path = to;
    } else {
      failed = true;
    }
  }
  store(ctx, list);
  if (failed) {
    ctx.prompts.info(
        "There was a problem moving some of your backup files from the old backup directory "
        "to the new directory. These backups will remain in the old backup directory.");
  }
}

void backup_delete_all(BackupContext& ctx) {
  bool failed = false;
  for (const auto& entry : backup_get_file_list(ctx.prefs)) {
    if (::unlink(entry.path.c_str()) != 0 && errno != ENOENT) failed = true;
  }
  backups_remove_non_existing(ctx);
  if (failed) {
    ctx.prompts.info(
        "Some of the backup files could not be deleted; you must manually delete these "
        "yourself.");
  }
}

std::string abbr_time_to_backup_time_string(const AbbrTime* time, const AbbrTime& today) {
  AbbrTime now;
  if (time == nullptr) {
    now = abbr_time_now();
    time = &now;
  }
  std::string out;
  char buf[64];
  if (same_date(*time, today)) {
    out = "Today, ";
  } else if (time->year == today.year && time->month == today.month &&
             time->day + 1 == today.day) {
    out = "Yesterday, ";
  } else {
    std::snprintf(buf, sizeof buf, "%d/%d/%d ", int{time->month}, int{time->day},
                  int{time->year});
    out = buf;
  }
  int hour12 = time->hour % 12 == 0 ? 12 : time->hour % 12;
  std::snprintf(buf, sizeof buf, "%d:%.2d:%.2d %s", hour12, int{time->minute},
                int{time->second}, time->hour >= 12 ? "PM" : "AM");
  return out + buf;
}

std::string abbr_time_to_backup_time_string(const AbbrTime* time) {
  return abbr_time_to_backup_time_string(time, abbr_time_now());
}

}  // namespace tolvan
