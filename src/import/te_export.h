// TextExpander export: the library as a settings file (TextExpander's whole library, with
// Tolvan's launchers and folder settings in its "Tolvan" dictionary) or one folder as a
// group file. Every dictionary a folder or abbreviation carries is written as it stands,
// so what a TextExpander file brought in goes back out; what is missing is built.
#pragma once

#include <string>
#include <string_view>

#include "core/abbrtime.h"
#include "core/result.h"
#include "library/model.h"
#include "settings/settings.h"

namespace tolvan {

// The preferences a settings file carries for TextExpander.
struct TePreferences {
  int case_mode = CASE_ADAPT;               // default_case_mode
  int trigger_mode = TRIGGER_IMMEDIATELY;   // default_trigger_mode
  std::string delimiters;                   // delim_chars
  bool sound = false;                       // play_sound
};
TePreferences te_preferences_from(Settings& prefs);

struct TeExportOptions {
  ModeDefaults defaults;
  AbbrTime now;  // "Snippets Imported" when the library has none
  // Turns Tolvan's macros into TextExpander's codes for dictionaries built from an
  // expansion (tolvan_macros_to_te_macros); nullptr writes expansions as they are.
  std::string (*to_te_macros)(std::string_view) = nullptr;
};

// te_abbrev_to_kvlist: builds the abbreviation's missing dictionaries (general and/or
// abbreviation-specific) under one new uuid and lists the uuid in its folder's group.
void te_abbrev_to_kvlist(Abbreviation& abbrev, bool general, bool specific,
                         const TeExportOptions& options);
// te_folder_modified: the group's name ("name", "groupInfo" -> "groupName"), and its
// folder-specific "disabled" and menu hotkey, in the dictionaries the folder has.
void te_folder_modified(Folder& folder);
// te_build_kvlists: a folder's missing dictionaries and its group's current name, members,
// hotkey and disabled flag; with `root`, of each direct subfolder instead.
void te_build_kvlists(Folder& folder, bool root, const TeExportOptions& options);
// te_update_prefs_from_tolvan_prefs: the four preference keys of the absolute parent's
// general dictionary; answers whether any changed ("Delimiters" without regard to case).
bool te_update_prefs_from_tolvan_prefs(Folder& absolute_parent, const TePreferences& prefs,
                                       bool force);

// The settings file of the library whose absolute parent is given, built on a copy (the
// library keeps its own dictionaries); nested folders are flattened in the file only.
Result<std::string> te_settings_file_text(const Folder* absolute_parent,
                                          const TePreferences& prefs,
                                          const TeExportOptions& options);
// The group file of a folder, with the abbreviations of its subfolders; built on a copy.
Result<std::string> te_group_file_text(const Folder* folder, const TeExportOptions& options);

}  // namespace tolvan
