// The correspondence between X key codes/keysyms and Windows virtual-key codes and set-1
// scan codes. Keys are identified by their position (the evdev key codes an X server uses
// for a PC keyboard), so the punctuation keys keep the US names of their place whatever
// the layout, and the scan code of a key is the one Windows reports for that place.
// Letters and the keypad follow what the key types now (see vk_for_key).
#pragma once

#include <cstdint>
#include <optional>

namespace tolvan::x11 {

// An X key code (8..255) and an X keysym, without the X headers.
using KeyCode = uint8_t;
using KeySymbol = uint32_t;

// Scan codes carry the extended flag as 0xE000, as MapType::VkToScanEx gives them.
inline constexpr uint16_t kExtendedScan = 0xE000;

struct KeyPosition {
  KeyCode keycode = 0;
  uint16_t vk = 0;    // left/right codes for Shift, Ctrl, Alt and Win
  uint16_t scan = 0;  // with kExtendedScan for extended keys
};

// The key at an X key code position, nullopt for a code no PC key has.
std::optional<KeyPosition> position_of_keycode(KeyCode keycode);
// The position of a virtual key: the generic Shift, Control and Menu codes are the left
// keys, the keypad digits the keypad keys, Home/End/... the navigation block.
std::optional<KeyPosition> position_of_vk(uint16_t vk);
// The key whose scan code this is (the extended flag as 0xE000 or, as `extended`, apart).
std::optional<KeyPosition> position_of_scan(uint16_t scan, bool extended = false);

// The virtual key of a keysym when the keysym alone decides it: letters (either case),
// digits, the keypad keysyms (KP_Home is Home, KP_7 is Numpad7), function, navigation,
// editing and modifier keysyms. 0 for a keysym that is no key's own (punctuation, accented
// letters: their vk comes from their position).
uint16_t vk_of_keysym(KeySymbol keysym);

// The virtual key a key reports, given the keysym it makes now at its base level (the
// keypad one at its current level, which follows Num Lock): a Latin letter names the key
// (so German Z is VK_Z at the US Y place), a keypad keysym decides keypad keys, and every
// other key goes by its position.
uint16_t vk_for_key(KeyCode keycode, KeySymbol base_keysym);

// The keysym that a virtual key's own key always makes when it does not depend on the
// layout (Tab, Return, F5, Left, Shift_L, ...); 0 for layout-dependent keys.
KeySymbol fixed_keysym_of_vk(uint16_t vk);

}  // namespace tolvan::x11
