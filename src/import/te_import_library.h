// A finished TextExpander import joining a library list: replace or append, the settings
// file's dictionary on the absolute parent, TextExpander's preferences taken over when
// asked, and the report the user reads.
#pragma once

#include <cstddef>
#include <string>

#include "import/import_mode.h"
#include "import/te_import.h"
#include "library/library.h"
#include "settings/settings.h"

namespace tolvan {

struct TeImportCounts {
  size_t snippets = 0;
  size_t groups = 0;
};

// "%smported %d snippet%s from %d group%s.", or the no-snippets message when nothing came.
std::string te_import_report(const TeImportCounts& counts);

// Adds the import to the list (on the thread that owns it): with Replace the list is
// emptied and gets a new absolute parent first. Folders take uids from the library; loose
// snippets go directly into the absolute parent. A settings file's dictionary becomes the
// absolute parent's general TextExpander data (so every key of it is written back); its
// "snippetsTE2" set-aside entries, if any, are kept. `added` is told each new folder.
TeImportCounts te_add_import_to_library(Library& library, ListIndex index, TeImport import,
                                        ImportMode mode,
                                        const std::function<void(Folder&)>& added = {});

// TextExpander's preferences as Tolvan's: "Default Abbreviation Mode" -> default_case_mode,
// "Expander Mode" -> default_trigger_mode, "Delimiters" -> delim_chars, "Auditory
// Feedback" -> play_sound, each only when the dictionary holds it.
void te_take_over_preferences(Settings& prefs, const KvList& settings);

}  // namespace tolvan
