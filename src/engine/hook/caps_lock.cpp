#include "engine/hook/caps_lock.h"

#include "platform/vk_codes.h"

namespace tolvan {

void CapsLock::tap(const KeySender& keys) { keys.tap(vk::Capital, 0x45, kKeyExtended); }

void CapsLock::preppy(const KeySender& keys, KeyboardState& keyboard) {
  was_enabled_ = false;
  pressed_count_ = 0;
  if (keyboard.key_state(vk::Capital) & kKeyToggledBit) {
    was_enabled_ = true;
    pressed_count_ = -2;  // our own two events bring it back to 0
    tap(keys);
  }
}

void CapsLock::restore(const KeySender& keys, KeyboardState& keyboard) {
  if (was_enabled_ && pressed_count_ == 0 &&
      !(keyboard.key_state(vk::Capital) & kKeyToggledBit))
    tap(keys);
}

}  // namespace tolvan
