#include "launch/hotkey_conflicts.h"

#include "core/strings.h"
#include "library/abbrev_strings.h"
#include "library/lookups.h"

namespace tolvan {
namespace {

std::string in_preferences(const AppHotkeyRow& row) {
  return std::string(row.label) + " in Preferences -> Hotkeys";
}

}  // namespace

std::vector<std::string> hotkeys_get_names_of_others_with_same_combo(
    std::string_view hotkey, const AppHotkeyRow* editing_row, const HotkeyConflictSources& sources) {
  std::vector<std::string> names;
  if (sources.shown_rows) {
    for (const ShownHotkeyRow& shown : *sources.shown_rows) {
      if (shown.row == editing_row || !shown.enabled) continue;
      if (equals_ignore_case(shown.hotkey, hotkey)) names.push_back(in_preferences(*shown.row));
    }
  } else {
    for (const AppHotkeyRow& row : app_hotkey_rows()) {
      if (&row == editing_row || sources.prefs.get_int(row.enable_key) == 0) continue;
      if (sources.prefs.does_exist(row.hotkey_key) &&
          equals_ignore_case(sources.prefs.get(row.hotkey_key), hotkey)) {
        names.push_back(in_preferences(row));
      }
    }
  }
  for (const Folder* folder : abbr_get_all_folders_and_abbrevs_from_folder_list(sources.sandbox).folders) {
    if (folder == sources.editing_folder || folder->menu_hotkey_enabled != 1) continue;
    if (folder->menu_hotkey && equals_ignore_case(*folder->menu_hotkey, hotkey)) {
      names.push_back("Pop up menu hotkey in folder " +
                      abbr_get_full_folder_path_string(*folder, nullptr, false));
    }
  }
  return names;
}

std::string hotkey_conflict_tooltip(const std::vector<std::string>& names) {
  std::string tooltip =
      "The key combination you have selected for this hotkey is already in use by other "
      "hotkey(s):\n\n";
  for (const std::string& name : names) tooltip += "- " + name + "\n\n";
  return tooltip;
}

}  // namespace tolvan
