// ModifierKeys: the Shift, Ctrl and Alt keys around a replacement. Before
// the output starts every held modifier is released; while the hook is disabled the user's
// own presses and releases are followed; afterwards the ones still held are pressed again.
#pragma once

#include <array>
#include <cstdint>

#include "engine/output/key_sender.h"
#include "platform/keyboard_hook.h"

namespace tolvan {

// The Shift keys the hook remembers: the last physical Shift seen, and the one the hook
// pressed itself in a dead-key replay (with its scan code), which may have to be pressed
// again for the user.
struct ShiftMemory {
  uint16_t last_physical = 0;
  uint16_t pressed_by_replay = 0;
  uint16_t pressed_by_replay_scan = 0;
};

class ModifierKeys {
 public:
  static bool is_modifier_vk(uint16_t vk);
  // The user pressed or released a modifier while the hook was disabled.
  void update_phys_state(uint16_t vk, bool down);
  // A key event while Tolvan types. The user's modifiers are followed; one pressed now would
  // turn the characters still to come into shortcuts (Ctrl+A, and the rest replaces the whole
  // text), so the press is kept from the application, or let up again at once where the hook
  // cannot keep it, and `restore` presses it again while it is still held.
  HookAnswer follow_user(const KeyEvent& event, const KeySender& keys, bool can_swallow);
  // Which modifiers are down now. `trigger_vk` is the trigger key that released the
  // abbreviation (0 when none): a Shift the replay pressed stays down for it.
  void record(const KeySender& keys, KeyboardState& keyboard, ShiftMemory& shifts,
              uint16_t trigger_vk);
  // Releases the recorded ones, so that the output is not typed with them.
  void keyup_all(const KeySender& keys);
  // Presses the released ones again, except right Alt and the keys the user let go
  // meanwhile.
  void restore(const KeySender& keys, KeyboardState& keyboard);
  bool recorded_down(uint16_t vk) const;

 private:
  struct Row {
    uint16_t vk;
    bool down;
    bool extended;
  };
  static void release(const Row& row, const KeySender& keys);
  std::array<Row, 6> rows_{{{0xA0, false, false},
                           {0xA1, false, true},
                           {0xA2, false, false},
                           {0xA3, false, false},
                           {0xA4, false, false},
                           {0xA5, false, false}}};
};

}  // namespace tolvan
