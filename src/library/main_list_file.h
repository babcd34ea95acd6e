// The library's own file: loading it into the main list with the messages the user sees,
// saving a list over it, and protecting a file that failed to load. A library file that
// could not be read completely is kept aside (next to it, with a time stamp in its name)
// before anything is written over it, and the load message says where it will be, so no
// sequence of loads and saves loses what the user had.
#pragma once

#include <string>

#include "core/prompts.h"
#include "core/result.h"
#include "library/library.h"
#include "settings/settings.h"

namespace tolvan {

struct MainListLoadOptions {
  bool backups_available = false;  // the preference backups is not empty
  ModeDefaults defaults;           // for case and trigger modes out of range
};

// The options as the preferences give them (the default modes are stored when missing).
MainListLoadOptions main_list_load_options(Settings& prefs);

enum class LoadOutcome {
  Loaded,      // the file was read (TextExpander data errors, if any, were shown)
  Empty,       // no path, or a file of size 0: an empty library
  Missing,     // no such file
  Unopenable,  // the file exists but could not be opened
  Damaged,     // a read or parse error; what was read before it is kept
};

// Replaces the main list by the file's content (main-list mode), telling the user about
// problems through `prompts`. The main list always ends with an absolute parent. The
// listeners hear main_list_reloaded at the end.
LoadOutcome abbr_load_main_list_from_file(Library& library, const std::string& path,
                                          Prompts& prompts,
                                          const MainListLoadOptions& options = {});

// Writes the main list (MAIN_LIST) or the sandbox to `path`. When `path` is a library file
// that failed to load, that file is first kept aside; if that fails nothing is written.
Status abbr_dump_folder_list_to_file(Library& library, ListIndex index, const std::string& path);
Status abbr_dump_main_folder_list_to_file(Library& library, const std::string& path);
Status abbr_dump_sandbox_folder_list_to_file(Library& library, const std::string& path);

// The main window's save step: writes the main list to `path`; on failure, with `report`,
// shows "Unable to save abbreviations to file ...". (The caller then makes the backup.)
Status abbr_save_library(Library& library, const std::string& path, Prompts* report);

// The name a damaged library file is kept under: <name>_damaged_<Mar15_2012_14_05_09>.tlv
// beside it, with a counter after the stamp when that name is taken.
std::string abbr_damaged_file_aside_path(const std::string& path);

}  // namespace tolvan
