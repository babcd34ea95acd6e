#include "launch/hotkey_string.h"

#include "engine/matching/matcher_prefs.h"
#include "platform/hotkeys.h"
#include "platform/vk_codes.h"

namespace tolvan {

HotkeyCombo hotkey_string_to_ints(std::string_view text) {
  HotkeyCombo combo;
  for (uint16_t code : trigger_hotkey_pref_string_to_int_plist(text, false)) {
    switch (code) {
      case vk::Control: combo.modifiers |= kModControl; break;
      case vk::Menu: combo.modifiers |= kModAlt; break;
      case vk::Shift: combo.modifiers |= kModShift; break;
      case vk::LWin: combo.modifiers |= kModWin; break;
      default: combo.key = code;
    }
  }
  return combo;
}

}  // namespace tolvan
