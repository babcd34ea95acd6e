// KeyboardHook: system-wide observation of key events and mouse-button presses, standing in
// for the low-level keyboard and mouse hooks. Each event goes to a callback that answers
// whether the event goes on to the focused application.
#pragma once

#include <cstdint>
#include <functional>

#include "core/result.h"
#include "platform/vk_codes.h"

namespace tolvan {

// The window message a key event carries, with the Windows numbers: the "system" variants
// are what Windows sends while Alt is held without Ctrl (and for F10).
enum class KeyMessage : uint16_t {
  KeyDown = 0x100,
  KeyUp = 0x101,
  SysKeyDown = 0x104,
  SysKeyUp = 0x105,
};

// The scan code of the left Ctrl event that Windows sends ahead of right Alt on a layout
// where right Alt is AltGr: that Ctrl is part of the AltGr chord, no press of Ctrl.
inline constexpr uint16_t kAltGrControlScan = 0x21D;

struct KeyEvent {
  uint16_t vk = 0;      // virtual-key code; left/right codes for Shift, Ctrl and Alt
  uint16_t scan = 0;    // scan code (a Unicode character's UTF-16 unit for vk::Packet)
  KeyMessage message = KeyMessage::KeyDown;
  bool extended = false;  // the extended-key flag (right Ctrl and Alt, arrows, ...)
  bool injected = false;  // sent by a program, not typed on a keyboard
  uint64_t time_ms = 0;   // the platform clock's time of the event

  bool down() const { return message == KeyMessage::KeyDown || message == KeyMessage::SysKeyDown; }
  bool up() const { return !down(); }
  // The left Ctrl that comes with AltGr.
  bool altgr_control() const { return vk == vk::LControl && scan == kAltGrControlScan; }
};

enum class MouseButton { Left, Right, Middle };

struct MouseEvent {
  MouseButton button = MouseButton::Left;
  bool down = true;
};

enum class HookAnswer {
  Pass,     // the event goes on to the application
  Swallow,  // no application sees it (only honoured when can_swallow())
};

class KeyboardHook {
 public:
  using KeyCallback = std::function<HookAnswer(const KeyEvent&)>;
  using MouseCallback = std::function<void(const MouseEvent&)>;

  virtual ~KeyboardHook() = default;

  // Installing replaces an installed callback of the same kind. Callbacks are never called
  // concurrently from two threads, but they are re-entered: input that a callback sends
  // itself comes back through the callback before the send returns (as a Windows low-level
  // hook does), so state a callback guards must take a recursive lock. Input that other
  // threads send meanwhile waits and is delivered, in order, after the callback returns.
  // An event the callback passes reaches the application after the input it sent.
  // (Re-entry is what dead-key replay relies on; a backend whose translation does not
  // consume dead keys may instead deliver a callback's own input after it returns.)
  // Callbacks must return quickly.
  virtual Status install_keyboard(KeyCallback callback) = 0;
  virtual Status uninstall_keyboard() = 0;
  virtual Status install_mouse(MouseCallback callback) = 0;
  virtual Status uninstall_mouse() = 0;

  // False when events are observed passively: a Swallow answer is then ignored and the
  // event reaches the application anyway. The engine compensates for keys that already
  // produced a character (one more Backspace) and grabs keys that must not arrive at all.
  virtual bool can_swallow() const = 0;

  // While grabbed, every event of this key goes to the keyboard callback and never to an
  // application, whatever the answer. Meant for the short times a key must not arrive
  // (the interactive-input continue key) on a backend that cannot swallow.
  virtual Status grab_key(uint16_t vk) = 0;
  virtual void ungrab_key(uint16_t vk) = 0;
  // Returns once the input sent before the call has been through the callbacks (on
  // Windows a send returns only after the low-level hooks saw its events). Not for use inside a
  // callback. A backend whose sends already behave so keeps this default.
  virtual void flush() {}
};

}  // namespace tolvan
