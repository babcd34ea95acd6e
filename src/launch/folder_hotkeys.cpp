#include "launch/folder_hotkeys.h"

#include "launch/hotkey_string.h"
#include "library/lookups.h"

namespace tolvan {

FolderHotkeys::FolderHotkeys(Hotkeys& hotkeys, Library& library, FolderMenu* menu)
    : hotkeys_(hotkeys), library_(library), menu_(menu) {}

FolderHotkeys::~FolderHotkeys() { unregister_all(); }

int FolderHotkeys::register_all(ListIndex list) {
  unregister_all();
  int registered = 0;
  int32_t next = kFirstFolderHotkeyId;
  for (Folder* folder : abbr_get_all_folders_and_abbrevs_from_folder_list(library_.list(list)).folders) {
    folder->menu_hotkey_id = 0;
    if (!folder->menu_hotkey_enabled || !folder->menu_hotkey) continue;
    folder->menu_hotkey_id = next++;
    const HotkeyCombo combo = hotkey_string_to_ints(*folder->menu_hotkey);
    if (menu_ && combo.key && hotkeys_.register_hotkey(folder->menu_hotkey_id, combo.modifiers, *combo.key)) {
      ++registered;
    }
  }
  first_id_ = kFirstFolderHotkeyId;
  next_id_ = next;
  return registered;
}

void FolderHotkeys::unregister_all() {
  if (first_id_ != 0 && next_id_ >= first_id_) {
    for (int32_t id = first_id_; id <= next_id_; ++id) hotkeys_.unregister_hotkey(id);
  }
  first_id_ = 0;
  next_id_ = 0;
}

void FolderHotkeys::pressed(int id) {
  if (!owns(id)) return;
  auto lock = library_.lock_main_list();
  const Folder* folder = abbr_get_folder_with_acm_hotkey_id(library_.main_list, id);
  if (menu_ && folder && folder->menu_hotkey_enabled) menu_->show_folder_menu(*folder);
}

}  // namespace tolvan
