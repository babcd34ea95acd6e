#include "launch/hotkey_dispatcher.h"

namespace tolvan {

HotkeyDispatcher::HotkeyDispatcher(Hotkeys& hotkeys, AppHotkeys& app, FolderHotkeys& folders)
    : hotkeys_(hotkeys), app_(app), folders_(folders) {
  hotkeys_.set_handler([this](int id) { pressed(id); });
}

HotkeyDispatcher::~HotkeyDispatcher() { hotkeys_.set_handler(nullptr); }

void HotkeyDispatcher::pressed(int id) {
  if (folders_.owns(id)) {
    folders_.pressed(id);
  } else {
    app_.pressed(id);
  }
}

}  // namespace tolvan
