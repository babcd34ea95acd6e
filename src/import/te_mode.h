// TextExpander mode's shape of a library: one level of folders (TextExpander's groups) and
// no abbreviation outside a folder.
#pragma once

#include "library/library.h"
#include "settings/settings.h"

namespace tolvan {

inline constexpr const char* kUncategorizedFolderName = "(Uncategorized)";

bool te_mode_enabled(const Settings& prefs);

// te_move_abbrevs_from_all_if_necessary: when the absolute parent holds abbreviations, a
// new folder "(Uncategorized)" under it takes them all (the main list under its lock).
// Answers whether it did.
bool te_move_abbrevs_from_all(Library& library, ListIndex index);

// Both steps of the mode for one list: nested folders flattened, then loose abbreviations
// moved. Answers whether the list changed.
bool te_reshape_list(Library& library, ListIndex index);

}  // namespace tolvan
