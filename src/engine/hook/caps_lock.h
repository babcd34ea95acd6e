// CapsLock: Caps Lock is switched off while a replacement is typed key by key, and on again
// afterwards unless the user pressed it meanwhile. The output thread switches it off; the
// hook counts every Caps Lock event while it is disabled and switches it on again when the
// output thread asks (MonMessage::RestoreCapsLock).
#pragma once

#include <atomic>

#include "engine/output/key_sender.h"

namespace tolvan {

class CapsLock {
 public:
  // Output thread.
  void preppy(const KeySender& keys, KeyboardState& keyboard);
  // Hook thread: a Caps Lock event, down or up, injected or not, while disabled.
  void count_event() { pressed_count_.fetch_add(1); }
  // Hook thread, once the input sent before has been through the hook (so the count
  // includes the two events of preppy).
  void restore(const KeySender& keys, KeyboardState& keyboard);

 private:
  static void tap(const KeySender& keys);
  std::atomic<bool> was_enabled_{false};
  std::atomic<int> pressed_count_{0};
};

}  // namespace tolvan
