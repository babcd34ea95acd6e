// ModifierKeys: the Shift, Ctrl and Alt keys around a replacement (modifier_states). Before
// the output starts every held modifier is released; while the hook is disabled the user's
// own presses and releases are followed; afterwards the ones still held are pressed again.
#pragma once

#include <array>
#include <cstdint>

#include "engine/output/key_sender.h"

namespace tolvan {

// The Shift keys the hook remembers (g_didwutphysshift, g_didwutshift, g_didwutshiftsc):
// the last physical Shift seen, and the one the hook pressed itself in a dead-key replay.
struct ShiftMemory {
  uint16_t last_physical = 0;
  uint16_t pressed_by_replay = 0;
  uint16_t pressed_by_replay_scan = 0;
};

class ModifierKeys {
 public:
  static bool is_modifier_vk(uint16_t vk);
  // update_modifier_phys_state: the user pressed or released a modifier meanwhile.
  void update_phys_state(uint16_t vk, bool down);
  // mon_record_modifier_key_states. `trigger_vk` is the trigger key that released the
  // abbreviation (0 when none): a Shift the replay pressed stays down for it.
  void record(const KeySender& keys, KeyboardState& keyboard, ShiftMemory& shifts,
              uint16_t trigger_vk);
  // mon_keyup_all_keydownd_modifiers.
  void keyup_all(const KeySender& keys);
  // mon_restore_all_keyupd_modifiers: never right Alt, never a key the user let go.
  void restore(const KeySender& keys, KeyboardState& keyboard);
  bool recorded_down(uint16_t vk) const;

 private:
  struct Row {
    uint16_t vk;
    bool down;
    bool extended;
  };
  std::array<Row, 6> rows_{{{0xA0, false, false},
                           {0xA1, false, true},
                           {0xA2, false, false},
                           {0xA3, false, false},
                           {0xA4, false, false},
                           {0xA5, false, false}}};
};

}  // namespace tolvan
