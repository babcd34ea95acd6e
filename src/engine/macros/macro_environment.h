// What the macros need from the desktop, as plain functions the engine wires to the
// platform layer: the clock and the clipboard's text.
// Tests and the command line put fakes in their place.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace tolvan {

// The key that types one character in the target window's layout, as
// KeyboardState::vk_key_scan finds it: low byte the virtual-key code, high byte the shift
// state; below 1 when the layout has no key for it.
using KeyLayoutLookup = std::function<int(char32_t)>;

struct MacroEnvironment {
  // "Now" for the date and time macros; the system clock when empty.
  std::function<std::time_t()> now;
  // The clipboard's Unicode text as UTF-8; nullopt when it holds no text or cannot be read.
  std::function<std::optional<std::string>()> clipboard_text;

  std::time_t current_time() const { return now ? now() : std::time(nullptr); }
};

}  // namespace tolvan
