// Folder hotkeys: each folder may carry a hotkey that pops up the abbreviation menu of that
// folder. They are numbered from 255 in depth-first order (each folder before its
// subfolders) every time they are registered, which happens whenever the library's changes
// are applied or the library is read again.
#pragma once

#include <cstdint>

#include "library/library.h"
#include "platform/hotkeys.h"

namespace tolvan {

inline constexpr int32_t kFirstFolderHotkeyId = 255;

// What a folder hotkey does: the abbreviation menu implements it.
class FolderMenu {
 public:
  virtual ~FolderMenu() = default;
  // Pops up the menu of `folder` (of the main list, which is locked meanwhile) at the caret.
  virtual void show_folder_menu(const Folder& folder) = 0;
};

class FolderHotkeys {
 public:
  // Everything given outlives this object. Without a menu the folders are numbered but no
  // hotkey is registered: the combinations stay free for other programs.
  FolderHotkeys(Hotkeys& hotkeys, Library& library, FolderMenu* menu);
  ~FolderHotkeys();
  FolderHotkeys(const FolderHotkeys&) = delete;
  FolderHotkeys& operator=(const FolderHotkeys&) = delete;

  // hotkey_handle_acm_hotkeys: unregisters the folder hotkeys, then numbers every folder of
  // the list whose hotkey is switched on and set (the others get id 0) and registers those
  // that name a key; a combination another program holds is silently not available.
  // Called on the main thread; for the sandbox just before it becomes the main list.
  // Answers how many were registered.
  int register_all(ListIndex list);
  void unregister_all();
  // The ids in use now: from the first to the next free one.
  bool owns(int id) const { return first_id_ != 0 && id >= first_id_ && id <= next_id_; }
  // A folder hotkey was pressed: the menu of its folder, if that is still in the main list
  // with its hotkey switched on.
  void pressed(int id);

  int32_t first_id() const { return first_id_; }
  int32_t next_id() const { return next_id_; }

 private:
  Hotkeys& hotkeys_;
  Library& library_;
  FolderMenu* menu_;
  int32_t first_id_ = 0;
  int32_t next_id_ = 0;
};

}  // namespace tolvan
