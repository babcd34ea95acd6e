// Windows: the foreground window, its class, the text caret, whether the focused control is
// a password field, and bringing a window back to the front.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tolvan {

// A top-level window as the platform identifies it; 0 is no window.
using WindowId = uint64_t;

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

// Where the focused application's text caret is, in screen coordinates. When the
// application does not report it, `reported` is false and `rect` is an empty rectangle at
// the caret window's origin (where Windows would put a tooltip for an all-zero caret).
struct Caret {
  WindowId window = 0;
  Rect rect;
  bool reported = false;
};

class Windows {
 public:
  virtual ~Windows() = default;

  virtual WindowId foreground() = 0;
  // The window's class name ("" for an unknown window).
  virtual std::string class_name(WindowId window) = 0;
  // The caret of the foreground window's focused control; nullopt with no foreground window.
  virtual std::optional<Caret> caret() = 0;
  virtual bool bring_to_front(WindowId window) = 0;
  // Whether the focused control takes secret text (a password field), whose keys must not
  // be remembered. Asked for every key event, so it answers from state the backend keeps
  // current, without a round trip; false when the backend cannot tell.
  virtual bool focus_is_secret() = 0;
  // The user clicked: the focus may have moved to another control. A backend that learns
  // of the focus by asking takes the hint.
  virtual void focus_may_have_moved() {}
};

}  // namespace tolvan
