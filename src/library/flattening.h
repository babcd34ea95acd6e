// Flattening nested folders into one level of folders, for TextExpander mode: every folder
// ends up directly under the absolute parent, named after the path it had ("Work \ Letters").
// No abbreviation changes folder.
#pragma once

#include "library/library.h"

namespace tolvan {

// For the main list the whole operation holds the lock; every renamed folder is reported
// to the library's hooks (folder_modified, and sandbox_folder_moved for the sandbox).
void abbr_denestify_folders_in_list(Library& library, ListIndex index);
// The same loop over any free-standing tree whose top is `absolute_parent`, without lock
// and without the main window; `hooks` may be null.
void abbr_denestify_folders_in_abs_parent(Folder& absolute_parent, ModelHooks* hooks = nullptr);

}  // namespace tolvan
