// DeadKeys: a dead key the hook translated, held back and replayed. Translating a dead key
// consumes it on a desktop whose translation shares the application's composition state, so
// the hook swallows it and, once the next key is translated, sends both again (the replay);
// their replayed key-downs then pass the hook untouched.
#pragma once

#include <cstdint>

#include "engine/output/key_sender.h"
#include "engine/hook/modifier_keys.h"
#include "platform/keyboard_hook.h"

namespace tolvan {

class DeadKeys {
 public:
  bool pending() const { return dead_vk_ != 0; }

  // While a dead key is pending: a Shift press becomes the pending Shift and an AltGr
  // chord marks the dead key as typed with AltGr, both swallowed (true); a Shift release
  // forgets a Shift pressed after the dead key.
  bool absorb(const KeyEvent& event, KeyboardState& keyboard);
  // The replay's own key-down coming back: passes once, untouched.
  bool take_ignored(const KeyEvent& event);
  // The Shift entry of the state the next key is translated with.
  void adjust_shift(KeyStateArray& state, KeyboardState& keyboard) const;
  // The key translated as a dead key: it becomes pending.
  void record(const KeyEvent& event, const KeyStateArray& state, KeyboardState& keyboard);
  // Sends the pending dead key and the current key again. `delimiter_handed_over`: the
  // current key released an abbreviation as its delimiter, so its replay must reach the
  // (disabled) hook like any key.
  void replay(const KeyEvent& current, bool delimiter_handed_over, const KeySender& keys,
              KeyboardState& keyboard, ShiftMemory& shifts);
  void reset() { *this = DeadKeys{}; }

 private:
  void mark(uint16_t vk) { ignore_next_ = vk; }

  uint16_t dead_vk_ = 0, dead_scan_ = 0;
  uint16_t shift_vk_ = 0, shift_scan_ = 0;
  bool shift_pressed_first_ = false;
  bool dead_shifted_ = false;  // Shift was down for the dead key itself
  bool used_altgr_ = false;
  uint16_t ignore_next_ = 0;
};

}  // namespace tolvan
