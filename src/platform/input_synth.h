// InputSynth: synthetic keyboard input and the posted characters
// that some windows need instead. Everything sent here enters the input stream flagged as
// injected and passes the keyboard hook like typed keys do.
#pragma once

#include <cstdint>
#include <string>

#include "platform/windows.h"

namespace tolvan {

// Flags of one synthetic key event, with Windows' numbers (so "flags 3" is a key-up of an
// extended key).
inline constexpr uint32_t kKeyExtended = 0x1;
inline constexpr uint32_t kKeyUp = 0x2;
inline constexpr uint32_t kKeyUnicode = 0x4;  // scan holds a UTF-16 unit; vk is ignored

class InputSynth {
 public:
  virtual ~InputSynth() = default;

  // One key event. A generic modifier code becomes its left or right key the way Windows
  // resolves it (Shift by scan code 0x36, Ctrl and Alt by the extended flag).
  virtual void send_key(uint16_t vk, uint16_t scan, uint32_t flags) = 0;
  // A character as input, with no key behind it (arrives at the hook as vk::Packet).
  void send_unicode(char16_t unit, bool up) { send_key(0, unit, kKeyUnicode | (up ? kKeyUp : 0)); }
  // A character handed straight to the window's focused control as a posted character
  // message, bypassing the keyboard hook. Returns false when the window is gone.
  virtual bool post_char(WindowId window, char16_t unit) = 0;
  // Keys for an application that takes them lazily (LibreOffice): it sets typed characters
  // aside while more keys wait, so a Backspace, a Return or a character typed another way
  // overtakes them, and it takes a key released and pressed again at once for auto-repeat.
  // While `on`, the input gives the application of `window` a moment where that could
  // happen; it is off unless asked for, as it costs time.
  virtual void pace_keys(bool on, WindowId window) {
    (void)on;
    (void)window;
  }
  // The characters (each once) that the text to come types as Unicode events. Where typing
  // them changes the keymap, the changes are made now, in one, and applications are given a
  // moment to read it: some read a keymap that changes key by key late, and lose characters.
  virtual void prepare_characters(const std::u32string& characters) { (void)characters; }
};

}  // namespace tolvan
