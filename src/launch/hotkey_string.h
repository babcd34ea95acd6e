// Hotkey strings: a hotkey as the preferences and folders store it, decimal virtual-key
// codes separated by spaces ("17 18 76" is Ctrl+Alt+L).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tolvan {

struct HotkeyCombo {
  uint32_t modifiers = 0;       // kModControl, kModAlt, kModShift, kModWin
  std::optional<uint16_t> key;  // the last code that is not a modifier; none for a
                                // string of modifiers only
};

// 17, 18, 16 and 91 are the modifiers, any other code the key.
HotkeyCombo hotkey_string_to_ints(std::string_view text);

}  // namespace tolvan
