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

// te_set_all_folders_as_textexpander: every folder of the list (the main list under its
// lock) takes `flag` as its TextExpander group flag; the absolute parent only with
// `include_root`.
void te_set_all_folders_as_textexpander(Library& library, ListIndex index, bool flag,
                                        bool include_root);

// te_remove_all_folders_loaded_from_te_sync: every folder of the list whose TextExpander
// group flag is set, with what it holds.
void te_remove_all_folders_loaded_from_te_sync(FolderList& list);

}  // namespace tolvan
