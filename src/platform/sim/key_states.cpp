// Key state bookkeeping of the simulated desktop.
#include "platform/sim/key_states.h"

#include "platform/vk_codes.h"

namespace tolvan::sim {

void KeyStates::apply(uint16_t vk, bool down) {
  if (vk == 0 || vk > 0xFF) return;
  uint8_t& entry = logical_[vk];
  bool was_down = entry & kKeyDownBit;
  if (down && !was_down && (vk == vk::Capital || vk == vk::NumLock || vk == vk::Scroll))
    entry ^= kKeyToggledBit;
  entry = static_cast<uint8_t>(down ? (entry | kKeyDownBit) : (entry & ~kKeyDownBit));
  update_generic();
}

void KeyStates::set_toggled(uint16_t vk, bool on) {
  if (vk == 0 || vk > 0xFF) return;
  uint8_t& entry = logical_[vk];
  entry = static_cast<uint8_t>(on ? (entry | kKeyToggledBit) : (entry & ~kKeyToggledBit));
}

void KeyStates::set_physical(uint16_t vk, bool down) {
  if (down) physical_.insert(vk);
  else physical_.erase(vk);
}

void KeyStates::update_generic() {
  auto set = [&](uint16_t generic, uint16_t left, uint16_t right) {
    bool any = (logical_[left] | logical_[right]) & kKeyDownBit;
    uint8_t& entry = logical_[generic];
    entry = static_cast<uint8_t>(any ? (entry | kKeyDownBit) : (entry & ~kKeyDownBit));
  };
  set(vk::Shift, vk::LShift, vk::RShift);
  set(vk::Control, vk::LControl, vk::RControl);
  set(vk::Menu, vk::LMenu, vk::RMenu);
}

}  // namespace tolvan::sim
