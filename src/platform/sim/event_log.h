// The record of everything that entered the simulated desktop's input: each key or mouse
// event with its origin, what the hook answered and where it went. Tests assert on it and
// the simulate command prints it.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/keyboard_hook.h"
#include "platform/windows.h"

namespace tolvan::sim {

enum class EventFate {
  Delivered,       // reached the focused application
  Swallowed,       // the hook swallowed it
  Grabbed,         // a grabbed key: only the hook saw it
  Hotkey,          // a registered hotkey took it
  NoWindow,        // passed, but no window had the focus
};

struct LoggedEvent {
  enum class Kind { Key, Mouse, PostedChar } kind = Kind::Key;
  KeyEvent key;           // for Key (also holds the time)
  MouseEvent mouse;       // for Mouse
  char16_t posted = 0;    // for PostedChar
  bool hook_saw = false;  // a keyboard (or mouse) callback was installed and called
  EventFate fate = EventFate::Delivered;
  WindowId window = 0;    // the focused window at the time
};

class EventLog {
 public:
  void add(const LoggedEvent& event);
  // Off: nothing more is recorded (for long benchmark runs).
  void set_recording(bool on);
  std::vector<LoggedEvent> events() const;
  // Only the injected key events (and posted characters), the engine's output.
  std::vector<LoggedEvent> injected() const;
  void clear();

  // One line per event, such as "inject down LShift" or "user up A swallowed".
  static std::string format(const LoggedEvent& event);
  static std::string format(const std::vector<LoggedEvent>& events);

 private:
  mutable std::mutex mutex_;
  std::vector<LoggedEvent> events_;
  bool recording_ = true;
};

// A short name of a virtual key ("Back", "LShift", "A", "Oem7", "0xE8").
std::string vk_name(uint16_t vk);

}  // namespace tolvan::sim
