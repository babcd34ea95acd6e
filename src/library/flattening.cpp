// Flattening nested folders.
#include "library/flattening.h"

#include <algorithm>

#include "library/abbrev_strings.h"
#include "library/folder_tree.h"

namespace tolvan {
namespace {

void flatten(Folder& top, ModelHooks* hooks, bool sandbox) {
  while (true) {
    auto nested = std::find_if(top.subfolders.begin(), top.subfolders.end(),
                               [](const auto& f) { return !f->subfolders.empty(); });
    if (nested == top.subfolders.end()) return;
    Folder& folder = *(*nested)->subfolders.front();
    folder.name = abbr_get_full_folder_path_string(folder, nullptr, true);
    if (hooks != nullptr) hooks->folder_modified(folder);
    abbr_reparent_folder(folder, &top);
    if (hooks != nullptr && sandbox) hooks->sandbox_folder_moved(folder);
  }
}

}  // namespace

void abbr_denestify_folders_in_list(Library& library, ListIndex index) {
  std::unique_lock<std::recursive_mutex> lock;
  if (index == MAIN_LIST) lock = library.lock_main_list();
  Folder* top = abbr_get_absolute_parent_folder(library.list(index));
  if (top != nullptr) flatten(*top, library.hooks, index == SANDBOX);
}

void abbr_denestify_folders_in_abs_parent(Folder& absolute_parent, ModelHooks* hooks) {
  flatten(absolute_parent, hooks, false);
}

}  // namespace tolvan
