// The preferences' defaults, in their fixed order, the upgrades of files written by earlier
// versions, and the default modes for new abbreviations. Only values that differ from 0 or ""
// are stored, since a missing key reads as both.
#include "core/paths.h"
#include "settings/prefs.h"

namespace tolvan {
namespace {

void default_if_missing(Settings& prefs, std::string_view key, std::string_view value) {
  if (!prefs.does_exist(key)) prefs.set(key, value);
}

}  // namespace

void prefs_set_defaults(Settings& prefs, RunTimeVariables& gvar) {
  const bool was_empty = prefs.empty();

  if (prefs.get("trigger_hotkey").empty()) prefs.set("trigger_hotkey", "17");
  default_if_missing(prefs, "delim_chars", kDefaultDelimChars);
  default_if_missing(prefs, "uc_check", "1");
  default_if_missing(prefs, "uc_check_days", "7");
  default_if_missing(prefs, "launchpad_hotkey", "17 32");
  default_if_missing(prefs, "launchpad_enable", "1");
  if (prefs.get_int("norm_view") == 0 && prefs.get_int("adv_view") == 0) prefs.set("norm_view", "1");
  default_if_missing(prefs, "contfol_col", "1");
  default_if_missing(prefs, "remember_sel_folder", "1");
  if (!prefs.does_exist("auto_backup")) {
    prefs.set("auto_backup", "1");
    gvar.set("backup_srsly", "1");  // a library that exists gets a backup at this start
  }
  default_if_missing(prefs, "limit_total_backup", "1");
  default_if_missing(prefs, "backup_max_count", "10");
  if (!prefs.does_exist("backup_dir")) {
    prefs.set("backup_dir", relativify_path_if_necessary(
                                path_join(gvar.get("current_appdata_dir"), "backups"), gvar));
  }
  default_if_missing(prefs, "show_bottom_buttons", was_empty ? "0" : "1");
  default_if_missing(prefs, "output_method", "0");
  default_if_missing(prefs, "clipboard_more_than_chars", "3500");
  default_if_missing(prefs, "terminal_classes", kDefaultTerminalClasses);
  default_if_missing(prefs, "primary_paste_classes", kDefaultPrimaryPasteClasses);
  default_if_missing(prefs, "lazy_input_classes", kDefaultLazyInputClasses);

  // Files from before sync modes kept the library directly in the shared folder.
  if (!prefs.does_exist("sync_te") && !prefs.does_exist("sync_norm")) {
    if (prefs.does_exist("use_diff_abbrev_dir")) {
      prefs.set("sync_norm", "1");
      prefs.set("sync_te", "0");
    }
    if (prefs.get_int("use_diff_abbrev_dir") == 1) prefs.set("aldir", "1");
  }
  // TextExpander-compatible sync implies TextExpander mode; files from before the "3"
  // marker resynchronise once.
  if (prefs.get_int("use_diff_abbrev_dir") == 1 && prefs.get_int("sync_te") == 1) {
    if (prefs.get_int("textexpander_mode") == 0) prefs.set("textexpander_mode", "1");
    if (!prefs.does_exist("3")) {
      prefs.set("tesyncalready", "1");
      gvar.set("te_resync", "1");
    }
  }
  prefs.set("3", "1");
}

void prefs_do_backwards_compat(Settings& prefs) {
  if (!prefs.get("v").empty()) return;
  // 577 x 796 is the main window's default size.
  if (prefs.get_int("win_height") < 577) {
    prefs.set_int("win_height", 577);
    prefs.set("v", "3.15");
  }
  if (prefs.get_int("win_width") == 753) {
    prefs.set_int("win_width", 796);
    prefs.set("v", "3.15");
  }
}

int prefs_get_default_case_mode(Settings& prefs, int abbr_type) {
  // Adapting the case of a replacement means nothing for a launcher, which then matches
  // case-insensitively.
  const bool launcher = abbr_type == 1 || abbr_type == 2;
  if (prefs.does_exist("default_case_mode")) {
    int mode = prefs.get_int("default_case_mode");
    if (mode >= 0 && mode <= 2) return launcher && mode == 2 ? 1 : mode;
  }
  prefs.set("default_case_mode", "2");
  return launcher ? 1 : 2;
}

int prefs_get_default_trigger_mode(Settings& prefs) {
  if (prefs.does_exist("default_trigger_mode")) {
    int mode = prefs.get_int("default_trigger_mode");
    if (mode >= 3 && mode <= 5) return mode;
  }
  prefs.set("default_trigger_mode", "3");
  return 3;
}

}  // namespace tolvan
