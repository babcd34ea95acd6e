// The other hotkeys that use the same hotkey string as the one being edited, named as the
// Preferences window and the folder editor warn about them. Strings are compared (without
// regard to case), not combinations: "18 17 76" does not clash with "17 18 76".
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "launch/app_hotkeys.h"
#include "library/model.h"
#include "settings/settings.h"

namespace tolvan {

// An application hotkey row as the open Preferences window shows it.
struct ShownHotkeyRow {
  const AppHotkeyRow* row;
  bool enabled;        // its enable check box
  std::string hotkey;  // built from its modifier boxes and key list
};

struct HotkeyConflictSources {
  HotkeyConflictSources(const Settings& prefs, const FolderList& sandbox,
                        std::optional<std::span<const ShownHotkeyRow>> shown_rows = std::nullopt,
                        const Folder* editing_folder = nullptr)
      : prefs(prefs), sandbox(sandbox), shown_rows(shown_rows), editing_folder(editing_folder) {}

  const Settings& prefs;
  const FolderList& sandbox;
  // The open Preferences window's rows; when absent, the stored preferences are used.
  std::optional<std::span<const ShownHotkeyRow>> shown_rows;
  // The folder open in the folder editor, which never clashes with itself.
  const Folder* editing_folder;
};

// hotkeys_get_names_of_others_with_same_combo: first the application rows other than
// `editing_row` that are switched on ("%s in Preferences -> Hotkeys" with the row's label),
// then the sandbox's folders with their hotkey switched on ("Pop up menu hotkey in folder
// %s" with the folder's full path), in depth-first order.
std::vector<std::string> hotkeys_get_names_of_others_with_same_combo(
    std::string_view hotkey, const AppHotkeyRow* editing_row, const HotkeyConflictSources& sources);

// The Preferences window's tooltip for a row whose combination is in use.
std::string hotkey_conflict_tooltip(const std::vector<std::string>& names);

}  // namespace tolvan
