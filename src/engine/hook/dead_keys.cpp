#include "engine/hook/dead_keys.h"

#include "platform/vk_codes.h"

namespace tolvan {
namespace {

bool is_shift(uint16_t vk) { return vk == vk::Shift || vk == vk::LShift || vk == vk::RShift; }

}  // namespace

bool DeadKeys::absorb(const KeyEvent& event, KeyboardState& keyboard) {
  if (!pending()) return false;
  if (event.down() && is_shift(event.vk)) {
    shift_vk_ = event.vk;
    shift_scan_ = event.scan;
    shift_pressed_first_ = false;
    return true;
  }
  if (event.down()) {
    bool ctrl = keyboard.async_down(vk::LControl) || keyboard.async_down(vk::RControl);
    bool alt = keyboard.async_down(vk::LMenu) || keyboard.async_down(vk::RMenu);
    if (ctrl && alt) {
      used_altgr_ = true;
      return true;
    }
  } else if (is_shift(event.vk) && !shift_pressed_first_) {
    shift_vk_ = 0;
    shift_scan_ = 0;
  }
  return false;
}

bool DeadKeys::take_ignored(const KeyEvent& event) {
  if (ignore_next_ == 0 || ignore_next_ != event.vk || !event.down()) return false;
  ignore_next_ = 0;
  return true;
}

void DeadKeys::adjust_shift(KeyStateArray& state, KeyboardState& keyboard) const {
  if (!pending())
    state[vk::Shift] = keyboard.key_state(vk::Shift);
  else if (shift_vk_ != 0 && !shift_pressed_first_)
    // A Shift pressed after the dead key was swallowed, so the state does not show it. A
    // Shift held for the dead key itself shows while it is still held, and must not turn
    // the next letter into a capital once it is let go (` on a German keyboard).
    state[vk::Shift] = kKeyDownBit;
}

void DeadKeys::record(const KeyEvent& event, const KeyStateArray& state,
                      KeyboardState& keyboard) {
  dead_vk_ = event.vk;
  dead_scan_ = event.scan;
  if (shift_vk_ == 0) {
    shift_pressed_first_ = true;
    if (keyboard.async_down(vk::LShift)) {
      shift_vk_ = vk::LShift;
      shift_scan_ = 0x2A;
    } else if (keyboard.async_down(vk::RShift)) {
      shift_vk_ = vk::RShift;
      shift_scan_ = 0x136;
    }
    dead_shifted_ = shift_vk_ != 0;
  }
  auto down = [&](uint16_t vk) { return (state[vk] & kKeyDownBit) != 0; };
  used_altgr_ = down(vk::LControl) || (down(vk::RControl) && down(vk::LMenu)) || down(vk::RMenu);
}

void DeadKeys::replay(const KeyEvent& current, bool delimiter_handed_over, const KeySender& keys,
                      KeyboardState& kb, ShiftMemory& shifts) {
  // Every event with its own scan code, or the mapped one when it has none.
  auto send = [&keys](uint16_t vk, uint32_t scan, uint32_t flags) {
    keys.keybd_event(vk, scan != 0 ? scan : keys.map_virtual_key(vk), flags);
  };
  const uint16_t dv = dead_vk_;
  const auto dead_scan = static_cast<uint16_t>(dead_scan_ != 0 ? dead_scan_ : keys.map_virtual_key(dv));
  const bool spf = shift_pressed_first_;
  const bool dead_shifted = dead_shifted_;
  bool repressed = false;
  dead_vk_ = 0;
  dead_shifted_ = false;

  auto press_pending_shift = [&] {
    mark(shift_vk_);
    send(shift_vk_, shift_scan_, 0);
    repressed = true;
    shifts.pressed_by_replay = shift_vk_;
    shifts.pressed_by_replay_scan =
        static_cast<uint16_t>(shift_scan_ != 0 ? shift_scan_ : keys.map_virtual_key(shift_vk_));
  };
  auto release_pending_shift = [&] {
    mark(shift_vk_);
    send(shift_vk_, shift_scan_, kKeyUp);
    shift_vk_ = 0;
    shift_scan_ = 0;
  };

  // The dead key goes again with the Shift it was typed with (even when Shift was let go
  // and pressed again for the next key, as for a capital under a shifted accent).
  if ((spf || dead_shifted) && shift_vk_ != 0 && !kb.async_down(shift_vk_)) press_pending_shift();
  mark(dv);
  if (current.vk == dv) send(dv, dead_scan, kKeyUp | kKeyExtended);
  if (used_altgr_) {
    mark(vk::RMenu);
    send(vk::RMenu, 0x38, kKeyExtended);
  }
  send(dv, dead_scan, kKeyExtended);
  if (spf) {
    if (shift_vk_ != 0 && repressed) release_pending_shift();
  } else if (shift_vk_ != 0 && !repressed && !kb.async_down(shift_vk_)) {
    press_pending_shift();
  }
  if (used_altgr_) {
    used_altgr_ = false;
    send(dv, dead_scan, kKeyUp | kKeyExtended);
    send(vk::RMenu, 0x38, kKeyUp | kKeyExtended);
  }
  if (!delimiter_handed_over) mark(current.vk);
  send(current.vk, current.scan, 0);
  send(current.vk, current.scan, kKeyUp);
  if (!spf && shift_vk_ != 0 && repressed) release_pending_shift();
}

}  // namespace tolvan
