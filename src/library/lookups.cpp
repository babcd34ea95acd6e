// Finding and counting folders and abbreviations.
#include "library/lookups.h"

namespace tolvan {
namespace {

Folder* find_uid(Folder& folder, uint32_t uid, long& index) {
  if (folder.uid == uid) return &folder;
  ++index;
  for (auto& sub : folder.subfolders) {
    if (Folder* found = find_uid(*sub, uid, index)) return found;
  }
  return nullptr;
}

void collect(const Folder& folder, FoldersAndAbbrevs& out) {
  for (const auto& abbrev : folder.abbreviations) out.abbreviations.push_back(abbrev.get());
  for (const auto& sub : folder.subfolders) {
    out.folders.push_back(sub.get());
    collect(*sub, out);
  }
}

// Collecting appends; the library's lists were built by prepending, so the abbreviations
// are handed out in that (reversed) order.
void reverse_abbrevs(FoldersAndAbbrevs& out) {
  std::vector<Abbreviation*> reversed(out.abbreviations.rbegin(), out.abbreviations.rend());
  out.abbreviations.swap(reversed);
}

Folder* find_hotkey_id(Folder& folder, int32_t id) {
  if (folder.menu_hotkey_id == id) return &folder;
  for (auto& sub : folder.subfolders) {
    if (Folder* found = find_hotkey_id(*sub, id)) return found;
  }
  return nullptr;
}

}  // namespace

Folder* abbr_folder_from_uid(const FolderList& list, uint32_t uid, long* index) {
  long i = 0;
  for (const auto& top : list) {
    if (Folder* found = find_uid(*top, uid, i)) {
      if (index) *index = i;
      return found;
    }
  }
  if (index) *index = -1;
  return nullptr;
}

FoldersAndAbbrevs abbr_get_all_folders_and_abbrevs_from_folder(const Folder& folder) {
  FoldersAndAbbrevs out;
  collect(folder, out);
  reverse_abbrevs(out);
  return out;
}

FoldersAndAbbrevs abbr_get_all_folders_and_abbrevs_from_folder_list(const FolderList& list) {
  FoldersAndAbbrevs out;
  for (const auto& top : list) {
    out.folders.push_back(top.get());
    collect(*top, out);
  }
  reverse_abbrevs(out);
  return out;
}

size_t abbr_get_n_abbrevs_in_folder(const Folder& folder) {
  size_t n = folder.abbreviations.size();
  for (const auto& sub : folder.subfolders) n += abbr_get_n_abbrevs_in_folder(*sub);
  return n;
}

Folder* abbr_get_folder_with_acm_hotkey_id(const FolderList& list, int32_t id) {
  for (const auto& top : list) {
    if (Folder* found = find_hotkey_id(*top, id)) return found;
  }
  return nullptr;
}

bool abbr_nested_folders_exist_in_abs_folder(const Folder& absolute_parent) {
  for (const auto& child : absolute_parent.subfolders) {
    if (!child->subfolders.empty()) return true;
  }
  return false;
}

bool abbr_nested_folders_exist_in_list(const FolderList& list) {
  return !list.empty() && abbr_nested_folders_exist_in_abs_folder(*list.front());
}

}  // namespace tolvan
