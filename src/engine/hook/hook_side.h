// HookSide: what the output thread asks of the hook thread. The engine implements it with
// the hook thread's queue; tests put a recorder or a small fake in its place.
#pragma once

#include "engine/engine_messages.h"

namespace tolvan {

class HookSide {
 public:
  virtual ~HookSide() = default;
  // Queues a request for the hook thread (ClearKeyBuffer, RestoreModifiers,
  // RestoreCapsLock, EnableHook); the hook thread serves them in the order posted.
  virtual void post(MonMessage message) = 0;
  // Before output resumes after interactive input: temporary disable on, so that the output
  // is not matched, and the modifiers the user holds recorded and released.
  virtual void before_replace() = 0;
  // Turns Caps Lock off for key simulation, which would otherwise change the case of every
  // typed letter, remembering to turn it on again.
  virtual void caps_lock_preppy() = 0;
};

}  // namespace tolvan
