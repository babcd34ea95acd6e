// HotkeyDispatcher: takes every press of a Tolvan hotkey from the desktop and hands it to
// the application hotkeys or the folder hotkeys, by id.
#pragma once

#include "launch/app_hotkeys.h"
#include "launch/folder_hotkeys.h"

namespace tolvan {

class HotkeyDispatcher {
 public:
  // Takes over the hotkeys' handler until destroyed; everything given outlives it.
  HotkeyDispatcher(Hotkeys& hotkeys, AppHotkeys& app, FolderHotkeys& folders);
  ~HotkeyDispatcher();
  HotkeyDispatcher(const HotkeyDispatcher&) = delete;
  HotkeyDispatcher& operator=(const HotkeyDispatcher&) = delete;

  // hotkey_pressed: called on the main thread; an id nobody owns does nothing.
  void pressed(int id);

 private:
  Hotkeys& hotkeys_;
  AppHotkeys& app_;
  FolderHotkeys& folders_;
};

}  // namespace tolvan
