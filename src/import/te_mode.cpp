#include "import/te_mode.h"

#include <functional>

#include "library/flattening.h"
#include "library/folder_tree.h"
#include "library/lookups.h"

namespace tolvan {

bool te_mode_enabled(const Settings& prefs) { return prefs.get_int("textexpander_mode") == 1; }

bool te_move_abbrevs_from_all(Library& library, ListIndex index) {
  std::unique_lock<std::recursive_mutex> lock;
  if (index == MAIN_LIST) lock = library.lock_main_list();
  Folder* top = abbr_get_absolute_parent_folder(library.list(index));
  if (!top || top->abbreviations.empty()) return false;
  Folder& uncategorized = abbr_add_subfolder_to_folder(
      *top, abbr_new_subfolder_of(library.uids, top, kUncategorizedFolderName));
  while (!top->abbreviations.empty()) {
    abbr_reparent_abbrev(*top->abbreviations.front(), uncategorized, library.hooks);
  }
  return true;
}

bool te_reshape_list(Library& library, ListIndex index) {
  bool changed = false;
  if (abbr_nested_folders_exist_in_list(library.list(index))) {
    abbr_denestify_folders_in_list(library, index);
    changed = true;
  }
  return te_move_abbrevs_from_all(library, index) || changed;
}

void te_set_all_folders_as_textexpander(Library& library, ListIndex index, bool flag,
                                        bool include_root) {
  std::unique_lock<std::recursive_mutex> lock;
  if (index == MAIN_LIST) lock = library.lock_main_list();
  std::function<void(Folder&)> mark = [&](Folder& folder) {
    if (folder.parent || include_root) folder.te_group = flag ? 1 : 0;
    for (auto& sub : folder.subfolders) mark(*sub);
  };
  for (auto& top : library.list(index)) mark(*top);
}

void te_remove_all_folders_loaded_from_te_sync(FolderList& list) {
  std::function<void(Folder&)> prune = [&](Folder& folder) {
    std::erase_if(folder.subfolders, [](const auto& sub) { return sub->te_group != 0; });
    for (auto& sub : folder.subfolders) prune(*sub);
  };
  for (auto& top : list) prune(*top);
}

}  // namespace tolvan
