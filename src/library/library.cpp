// The main list and the sandbox: copying one into the other under the lock.
#include "library/library.h"

#include "core/unused_memory.h"
#include "library/folder_tree.h"

namespace tolvan {

void abbr_create_sandbox(Library& library) {
  library.sandbox = abbr_folder_list_duplicate(library.main_list);
  release_unused_memory();  // the old sandbox's
}

void abbr_flush_sandbox_to_main(Library& library) {
  FolderList copy = abbr_folder_list_duplicate(library.sandbox);
  {
    auto lock = library.lock_main_list();
    library.notify([](LibraryListener& l) { l.main_list_freeing(); });
    library.main_list = std::move(copy);
  }
  library.notify([](LibraryListener& l) { l.main_list_changed(); });
  release_unused_memory();  // the old main list's, and what the listeners rebuilt
}

void abbr_free_folder_list(Library& library, ListIndex index) {
  if (index == SANDBOX) {
    library.sandbox.clear();
    return;
  }
  auto lock = library.lock_main_list();
  library.notify([](LibraryListener& l) { l.main_list_freeing(); });
  library.main_list.clear();
}

void abbr_free_all_folder_lists(Library& library) {
  abbr_free_folder_list(library, MAIN_LIST);
  abbr_free_folder_list(library, SANDBOX);
}

Folder* abbr_get_absolute_parent_folder(const FolderList& list) {
  return list.empty() ? nullptr : list.front().get();
}

Folder& abbr_ensure_absolute_parent(FolderList& list, UidCounter& uids) {
  if (list.empty()) list.push_back(abbr_create_absolute_parent_folder(uids));
  return *list.front();
}

}  // namespace tolvan
