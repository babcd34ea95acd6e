#include "engine/hook/modifier_keys.h"

#include "platform/vk_codes.h"

namespace tolvan {

bool ModifierKeys::is_modifier_vk(uint16_t vk) { return vk >= vk::LShift && vk <= vk::RMenu; }

void ModifierKeys::update_phys_state(uint16_t vk, bool down) {
  for (Row& row : rows_)
    if (row.vk == vk) row.down = down;
}

HookAnswer ModifierKeys::follow_user(const KeyEvent& event, const KeySender& keys, bool can_swallow) {
  if (!is_modifier_vk(event.vk) || event.injected) return HookAnswer::Pass;
  update_phys_state(event.vk, event.down());
  if (!event.down()) return HookAnswer::Pass;
  if (can_swallow) return HookAnswer::Swallow;
  for (const Row& row : rows_)
    if (row.vk == event.vk) release(row, keys);
  return HookAnswer::Pass;
}

void ModifierKeys::release(const Row& row, const KeySender& keys) {
  keys.keybd_event(row.vk, kKeyUp | (row.extended ? kKeyExtended : 0));
  // A lone Alt release would open the application's menu bar; a full tap cancels that.
  if (row.vk == vk::LMenu || row.vk == vk::RMenu) keys.tap(vk::Menu, kKeyExtended);
}

bool ModifierKeys::recorded_down(uint16_t vk) const {
  for (const Row& row : rows_)
    if (row.vk == vk) return row.down;
  return false;
}

void ModifierKeys::record(const KeySender& keys, KeyboardState& kb, ShiftMemory& shifts,
                          uint16_t trigger_vk) {
  if (shifts.pressed_by_replay != 0 && kb.async_down(vk::Shift)) {
    uint16_t mine = shifts.pressed_by_replay;
    uint16_t other = mine == vk::LShift ? vk::RShift : vk::LShift;
    if (!kb.async_down(mine) && !kb.async_down(other)) {
      // The generic Shift is down with neither key: the replay's own Shift went up behind the
      // user's back. Press it again when it is the key the user meant to hold.
      uint16_t wanted = trigger_vk != 0 ? trigger_vk : shifts.last_physical;
      if (mine == wanted)
        keys.keybd_event(mine, shifts.pressed_by_replay_scan, mine == vk::RShift ? kKeyExtended : 0);
      shifts = ShiftMemory{};
    }
  }
  for (Row& row : rows_) row.down = kb.async_down(row.vk);
}

void ModifierKeys::keyup_all(const KeySender& keys) {
  for (const Row& row : rows_)
    if (row.down) release(row, keys);
}

void ModifierKeys::restore(const KeySender& keys, KeyboardState& keyboard) {
  for (const Row& row : rows_) {
    if (!row.down || row.vk == vk::RMenu) continue;
    if (!keyboard.async_down(row.vk)) keys.keybd_event(row.vk, row.extended ? kKeyExtended : 0);
  }
}

}  // namespace tolvan
