// A simulated keyboard layout and the Windows translation rules over it: key events to text
// (with the dead-key state the translation keeps), characters to keys and code
// conversions, as KeyboardState offers them. The layouts themselves are in layouts.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keyboard_state.h"

namespace tolvan::sim {

// Shift levels of a character key.
enum Level : uint8_t { kPlain = 0, kShifted = 1, kAltGr = 2, kShiftAltGr = 3 };

// One key that makes characters: its code, its position and what each level types.
struct KeyDef {
  uint16_t vk = 0;
  uint16_t scan = 0;
  char16_t chars[4] = {0, 0, 0, 0};  // by Level; 0 = nothing
  bool caps = false;                 // Caps Lock swaps the plain and shifted levels
  uint8_t dead = 0;                  // bit (1 << level): that level is a dead key
  bool is_dead(int level) const { return (dead >> level) & 1; }
};

// A dead key's character followed by a base character gives the result.
struct Composition {
  char16_t dead = 0;
  char16_t base = 0;
  char16_t result = 0;
};

struct Layout {
  std::string name;  // "us", "us-intl", "de"
  LayoutId id = 0;
  bool has_altgr = false;  // right Alt is AltGr (and brings a left Ctrl with it)
  char16_t numpad_decimal = u'.';
  std::vector<KeyDef> keys;
  std::vector<Composition> compositions;

  const KeyDef* key_by_vk(uint16_t vk) const;
  const KeyDef* key_by_scan(uint16_t scan) const;
};

// The three layouts of the simulated desktop, and lookups; nullptr when unknown.
const Layout& us_layout();
const Layout& us_international_layout();
const Layout& german_layout();
const Layout* layout_by_name(std::string_view name);
const Layout* layout_by_id(LayoutId id);

// A dead key that was translated and waits for the next key.
struct DeadKeyState {
  char16_t pending = 0;
};

// KeyboardState::to_unicode over a layout: -1 for a dead key (pending afterwards), 0 for no
// text, else the UTF-16 units written to `out`.
int translate_key(const Layout& layout, DeadKeyState& dead, uint16_t vk,
                  const KeyStateArray& state, std::u16string& out);
// KeyboardState::vk_key_scan over a layout.
int16_t scan_char(const Layout& layout, char16_t ch);
// KeyboardState::is_dead_key over a layout.
bool scan_is_dead(const Layout& layout, int16_t key_scan);
// KeyboardState::map_virtual_key over a layout.
uint32_t map_key(const Layout& layout, uint32_t code, MapType type);

// The scan code (0xE0xx for extended keys) of a key that makes no characters (modifiers,
// navigation, function and editing keys, keypad), 0 when the code is not such a key.
uint16_t fixed_scan_code(uint16_t vk);
// The virtual key at a scan code on the layout, left/right modifiers kept apart; 0 if none.
uint16_t vk_from_scan(const Layout& layout, uint16_t scan);
inline bool is_extended_scan(uint16_t scan) { return (scan & 0xFF00) == 0xE000; }

}  // namespace tolvan::sim
