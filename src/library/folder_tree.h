// Making, copying, moving and deleting folders and abbreviations in a library tree.
#pragma once

#include <memory>
#include <string_view>

#include "library/library_observers.h"
#include "library/model.h"
#include "library/uids.h"

namespace tolvan {

// The top node of a list, "All Abbreviations / Folders", with the next uid.
std::unique_ptr<Folder> abbr_create_absolute_parent_folder(UidCounter& uids);
// A new folder with the next uid, named `name` ("New Folder" when empty), taking the
// parent's disabled flag; not linked yet (see abbr_add_subfolder_to_folder).
std::unique_ptr<Folder> abbr_new_subfolder_of(UidCounter& uids, const Folder* parent,
                                              std::string_view name = {});
// Appends the folder to the parent's subfolders and sets its parent.
Folder& abbr_add_subfolder_to_folder(Folder& parent, std::unique_ptr<Folder> folder);
// Inserts a top-level folder before `index` (-1, or past the end, appends).
Folder& abbr_insert_folder_in_list(FolderList& list, std::unique_ptr<Folder> folder,
                                   int index);

// A new abbreviation of `type` for `folder` (set but not linked yet): no abbreviation
// strings, empty type-specific data, the description "New Abbreviation", "New Launcher" or
// "New Website Launcher", the given modes (a launcher's CASE_ADAPT becomes
// CASE_INSENSITIVE), created = modified = now.
std::unique_ptr<Abbreviation> abbr_create_new_abbrev(AbbrType type, Folder* folder,
                                                     const ModeDefaults& modes);
// Inserts the abbreviation at the front of the folder's list and sets its folder.
Abbreviation& abbr_add_abbrev_to_folder(Folder& folder, std::unique_ptr<Abbreviation> abbrev);

// Deep copies; uids are kept, the icon is shared.
std::unique_ptr<Abbreviation> abbr_duplicate_abbrev(const Abbreviation& abbrev,
                                                    Folder* new_folder);
std::unique_ptr<Folder> abbr_duplicate_folder(const Folder& folder, Folder* new_parent);
FolderList abbr_folder_list_duplicate(const FolderList& list);

// Moves the folder to the end of new_parent's subfolders; nothing when new_parent is null,
// the folder itself or one of its descendants.
void abbr_reparent_folder(Folder& folder, Folder* new_parent);
// Moves the abbreviation to the front of new_folder's list, telling `hooks` first; nothing
// when it is already there.
void abbr_reparent_abbrev(Abbreviation& abbrev, Folder& new_folder, ModelHooks* hooks);
// Deletes (and frees) the folder from its parent's subfolders, or from the top of `list`
// when it has no parent. Returns whether it was found.
bool abbr_delete_subfolder_from_parent(FolderList& list, Folder& folder);
// Deletes (and frees) the abbreviation from its folder.
bool abbr_delete_abbrev_from_folder(Abbreviation& abbrev);
// disabled = !enabled, for the whole subtree when `recursive`.
void abbr_set_folder_enabled(Folder& folder, bool enabled, bool recursive);

}  // namespace tolvan
