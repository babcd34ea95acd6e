// KeySender: the keyboard of the engine's own input (the output thread's typing, the hook's
// repairs and replays). Scan codes come from a fixed table for the modifier and keypad keys
// and from the foreground layout for the rest; single key events, taps, the key actions of
// Key/KeyDown/KeyUp macros and the modifiers those macros hold.
#pragma once

#include <cstdint>

#include "engine/macros/key_names.h"
#include "platform/platform.h"

namespace tolvan {

// Modifiers a KeyDown macro holds, so that typing does not press them again for the
// characters that follow.
struct HeldModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool altgr = false;
};

struct ShiftCtrlAlt {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// The modifiers a key-scan result (KeyboardState::vk_key_scan) asks for. Ctrl is read from
// bit 0x08 of the high byte, not 0x02: characters whose key code asks for Ctrl (a newline is
// Ctrl+Enter) are typed without it. Alt is never asked for; AltGr is recognised by the caller.
ShiftCtrlAlt get_ctrl_alt_shift_state_from_VkKeyScan_code(int code);

class KeySender {
 public:
  explicit KeySender(const Platform& platform) : platform_(platform) {}

  // The fixed table's scan code when vk is in it (whatever the map type): a layout lookup
  // would not tell the right-hand and keypad keys apart. Else the conversion of the
  // foreground window's layout.
  uint32_t map_virtual_key(uint32_t vk, MapType type = MapType::VkToScan) const;
  // One key event, with the scan code looked up or with the given one; only its low byte
  // is sent.
  void keybd_event(uint16_t vk, uint32_t flags) const;
  void keybd_event(uint16_t vk, uint32_t scan, uint32_t flags) const;
  // Down, then up with the same flags plus key-up.
  void tap(uint16_t vk, uint32_t flags = 0) const;
  void tap(uint16_t vk, uint32_t scan, uint32_t flags) const;

  // The group's actions, `repeat` times, recording in `held` which modifiers stay down.
  void handle_key_presses(const KeyActionGroup& group, HeldModifiers& held) const;

 private:
  Platform platform_;
};

}  // namespace tolvan
