// Library: the main list that the keyboard engine matches against and that is saved, the
// sandbox that the main window edits, the recursive main_list_lock between them, the uid
// counter, and the listeners told about changes. One object per running Tolvan (tests
// make their own).
#pragma once

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "library/library_observers.h"
#include "library/model.h"
#include "library/uids.h"

namespace tolvan {

enum ListIndex { MAIN_LIST = 0, SANDBOX = 1 };

// A library file that could not be read completely: before Tolvan writes over it, the file
// is kept aside under `aside_path`.
struct DamagedLibraryFile {
  std::string path;
  std::string aside_path;
};

class Library {
 public:
  FolderList main_list;
  FolderList sandbox;
  // Held by whoever reads the main list off the main thread and by every writer of it;
  // the holding thread may take it again.
  std::recursive_mutex main_list_lock;
  UidCounter uids;
  ModelHooks* hooks = nullptr;  // TextExpander mode, when it runs
  // Set when the library file failed to load; cleared once it is kept aside.
  std::optional<DamagedLibraryFile> damaged_file;

  FolderList& list(ListIndex index) { return index == MAIN_LIST ? main_list : sandbox; }

  // The main-list lock as a scope: held by the hook for each key event and by every writer
  // of the main list; the holding thread may take it again.
  std::unique_lock<std::recursive_mutex> lock_main_list() {
    return std::unique_lock<std::recursive_mutex>(main_list_lock);
  }

  void add_listener(LibraryListener* listener) { listeners_.push_back(listener); }
  void remove_listener(LibraryListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener),
                     listeners_.end());
  }
  template <class Fn>
  void notify(Fn fn) {
    for (LibraryListener* l : listeners_) fn(*l);
  }

 private:
  std::vector<LibraryListener*> listeners_;
};

// Frees the sandbox and makes it a deep copy of the main list (main thread only, no lock).
void abbr_create_sandbox(Library& library);
// Under the lock, replaces the main list by a deep copy of the sandbox; then tells the
// listeners (main_list_changed) and returns once they have answered.
void abbr_flush_sandbox_to_main(Library& library);
// The main list: under the lock, after telling the listeners (main_list_freeing). The
// sandbox: without the lock.
void abbr_free_folder_list(Library& library, ListIndex index);
void abbr_free_all_folder_lists(Library& library);

// The first folder of the list, or nullptr for an empty list.
Folder* abbr_get_absolute_parent_folder(const FolderList& list);
// Gives the list an absolute parent when it has none (a missing, empty or unreadable file).
Folder& abbr_ensure_absolute_parent(FolderList& list, UidCounter& uids);

}  // namespace tolvan
