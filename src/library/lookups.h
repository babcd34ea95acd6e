// Finding folders and abbreviations in a library list and counting them.
#pragma once

#include <cstdint>
#include <vector>

#include "library/model.h"

namespace tolvan {

// The folder with that uid, searching each top-level folder and then its descendants
// depth-first; nullptr and index -1 when absent. The index counts folders in that order.
Folder* abbr_folder_from_uid(const FolderList& list, uint32_t uid, long* index = nullptr);

// Every descendant folder (depth-first, in order, not the folder itself) and every
// abbreviation of the folder and its descendants (each prepended, as the library always
// collected them).
struct FoldersAndAbbrevs {
  std::vector<Folder*> folders;
  std::vector<Abbreviation*> abbreviations;
};
FoldersAndAbbrevs abbr_get_all_folders_and_abbrevs_from_folder(const Folder& folder);
// The same over every top-level folder of a list (the top-level folders included).
FoldersAndAbbrevs abbr_get_all_folders_and_abbrevs_from_folder_list(const FolderList& list);

// Abbreviations in the folder and all its descendants.
size_t abbr_get_n_abbrevs_in_folder(const Folder& folder);
// The folder whose registered menu hotkey has that id, or nullptr.
Folder* abbr_get_folder_with_acm_hotkey_id(const FolderList& list, int32_t id);
// True when any child of the absolute parent has subfolders.
bool abbr_nested_folders_exist_in_list(const FolderList& list);
bool abbr_nested_folders_exist_in_abs_folder(const Folder& absolute_parent);

}  // namespace tolvan
