// KeySender: the output thread's keyboard. Scan codes as __MapVirtualKey gives them (a fixed
// table for the modifier and keypad keys, the foreground layout for the rest), keybd_event
// sends, the key actions of Key/KeyDown/KeyUp macros and the modifiers those macros hold.
#pragma once

#include <cstdint>

#include "engine/macros/key_names.h"
#include "platform/platform.h"

namespace tolvan {

// g_shift_down, g_ctrl_down, g_alt_down, g_altgr_down: modifiers a KeyDown macro holds, so
// that typing does not press them again for the characters that follow.
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

// The modifiers a VkKeyScan result asks for. Ctrl is read from bit 0x08 of the high byte,
// not 0x02: characters whose key code asks for Ctrl (a newline is Ctrl+Enter) are typed
// without it. Alt is never asked for; AltGr is recognised by the caller.
ShiftCtrlAlt get_ctrl_alt_shift_state_from_VkKeyScan_code(int code);

class KeySender {
 public:
  explicit KeySender(const Platform& platform) : platform_(platform) {}

  // __MapVirtualKey: the fixed table's scan code when vk is in it (whatever the map type),
  // else the conversion of the foreground window's layout.
  uint32_t map_virtual_key(uint32_t vk, MapType type = MapType::VkToScan) const;
  // keybd_event with the scan code looked up, or with the given one; only its low byte
  // is sent.
  void keybd_event(uint16_t vk, uint32_t flags) const;
  void keybd_event(uint16_t vk, uint32_t scan, uint32_t flags) const;
  // Down, then up with the same flags plus key-up.
  void tap(uint16_t vk, uint32_t flags = 0) const;
  void tap(uint16_t vk, uint32_t scan, uint32_t flags) const;

  // keysim_handle_key_presses: the group's actions, `repeat` times, recording in `held`
  // which modifiers stay down.
  void handle_key_presses(const KeyActionGroup& group, HeldModifiers& held) const;

 private:
  Platform platform_;
};

}  // namespace tolvan
