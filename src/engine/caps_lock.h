// CapsLock: Caps Lock is switched off while a replacement is typed key by key, and on again
// afterwards unless the user pressed it meanwhile. The output thread switches it off
// (mon_caps_lock_preppy); the hook counts every Caps Lock event while it is disabled and
// switches it on again (WM_MON_RESTORE_CAPS_LOCK).
#pragma once

#include <atomic>

#include "engine/keysim_keys.h"
#include "platform/clock.h"

namespace tolvan {

class CapsLock {
 public:
  // Output thread. Waits (a bounded while) until the hook has seen its own two events, so
  // that they are counted before the hook is asked to switch Caps Lock on again.
  void preppy(const KeySender& keys, KeyboardState& keyboard, Clock& clock);
  // Hook thread: a Caps Lock event, down or up, injected or not, while disabled.
  void count_event() { pressed_count_.fetch_add(1); }
  // Hook thread.
  void restore(const KeySender& keys, KeyboardState& keyboard);

 private:
  static void tap(const KeySender& keys);
  std::atomic<bool> was_enabled_{false};
  std::atomic<int> pressed_count_{0};
};

}  // namespace tolvan
