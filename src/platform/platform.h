// Platform: the set of desktop services the engine runs on, handed over as one value.
// Each backend (the real one, the simulated one) fills it with its own implementations.
#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/hotkeys.h"
#include "platform/input_synth.h"
#include "platform/keyboard_hook.h"
#include "platform/keyboard_state.h"
#include "platform/sound.h"
#include "platform/windows.h"

namespace tolvan {

// Non-owning; the backend outlives every user of it.
struct Platform {
  KeyboardHook* hook = nullptr;
  KeyboardState* keyboard = nullptr;
  InputSynth* input = nullptr;
  Clipboard* clipboard = nullptr;
  // X's PRIMARY selection, which X terminals paste with Shift+Insert; none where the
  // desktop has no such selection.
  Clipboard* primary = nullptr;
  Windows* windows = nullptr;
  Sound* sound = nullptr;
  Clock* clock = nullptr;
  Hotkeys* hotkeys = nullptr;
};

}  // namespace tolvan
