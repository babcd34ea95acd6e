// The simulated desktop's key state: what the user physically holds, and the logical state
// (down and toggled) that the events reaching the applications have built, with the generic
// Shift, Ctrl and Alt entries following their left and right keys.
#pragma once

#include <cstdint>
#include <set>

#include "platform/keyboard_state.h"

namespace tolvan::sim {

class KeyStates {
 public:
  // An event that passed the hook: updates down state and, on a key-down of a lock key, its
  // toggle. Uses the left/right codes for modifiers.
  void apply(uint16_t vk, bool down);

  const KeyStateArray& logical() const { return logical_; }
  bool down(uint16_t vk) const { return logical_[vk] & kKeyDownBit; }
  bool toggled(uint16_t vk) const { return logical_[vk] & kKeyToggledBit; }
  void set_toggled(uint16_t vk, bool on);

  // The keys the user's fingers hold, whatever the hook did with their events.
  void set_physical(uint16_t vk, bool down);
  bool physically_down(uint16_t vk) const { return physical_.count(vk) > 0; }
  const std::set<uint16_t>& physical() const { return physical_; }

 private:
  void update_generic();

  KeyStateArray logical_{};
  std::set<uint16_t> physical_;
};

}  // namespace tolvan::sim
