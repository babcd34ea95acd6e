// AtspiFocus: knows the keyboard focus of accessible applications through AT-SPI, so that
// whether the focused control is a password field can be asked for every key without a
// D-Bus round trip, and where its caret is with a few.
//
// It asks and never listens, and it talks to applications with plain D-Bus calls rather
// than through libatspi. Once a program listens to AT-SPI events, or merely opens libatspi's
// usual session with an application (which asks for the application's own bus and its
// cache), GTK's accessibility bridge reports every key event to the AT-SPI registry and
// waits for the answer, for as long as that program runs: typing into a GTK application
// was ten times slower while Tolvan ran. The calls made here (the state, the role, a
// search for the focused object, the caret) leave the bridge as it was.
//
// So the tracker looks again whenever the focus may have moved (after a key the user typed,
// a click, a change of the active window), once the application has had kSettleMs to take
// the input in: one call when the known focused object still has the focus, a search of the
// active application's windows when not. A key typed within that time of a focus change is
// judged by the focus before it; when the caret is wanted, the tracker looks first.
//
// The looks it schedules run on a thread of its own; focused() looks on the caller's
// thread. Either way the calls are GDBus's, which need no main loop, each waited for at
// most kCallTimeoutMs. Tolvan's own process is never asked: in a process with windows, its
// toolkit's bridge answers from the main loop, which may be the one waiting.
//
// Where there is no accessibility bus (no D-Bus session, AT-SPI not running) it knows
// nothing: focused() says so and secret_pid() is 0.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/windows.h"

namespace tolvan::x11 {

// What is known of the accessible that has the keyboard focus.
struct FocusedAccessible {
  uint32_t pid = 0;           // its application's process; 0: nothing focused is known
  bool secret = false;        // a password field
  std::optional<Rect> caret;  // the text caret in screen coordinates, where it reports one
};

// The caret of `focused` where it can be believed for a window of process `window_pid`
// with `frame` on the screen: the accessible is that process's and its caret lies inside the
// frame. What another process says is taken for nothing more.
std::optional<Rect> believed_caret(const FocusedAccessible& focused, uint32_t window_pid, const Rect& frame);

class AtspiFocus {
 public:
  AtspiFocus();
  ~AtspiFocus();
  AtspiFocus(const AtspiFocus&) = delete;
  AtspiFocus& operator=(const AtspiFocus&) = delete;

  // The focus in process `pid` (0: in whichever application has an active window), looked
  // at now, with its caret.
  FocusedAccessible focused(uint32_t pid) const;
  static constexpr int kCallTimeoutMs = 200;
  // The focus may have moved in process `pid` (0: unknown): look again kSettleMs from now,
  // unless a look is already due. Any thread; returns at once.
  void look_again(uint32_t pid);
  static constexpr unsigned kSettleMs = 15;
  // The process of the focused password field; 0 when the focus is not in one (or unknown).
  uint32_t secret_pid() const { return secret_pid_.load(std::memory_order_acquire); }
  // Blocks until the tracker has connected (or given up) and looked for the current focus;
  // false when it could not connect to the accessibility bus.
  bool wait_started() const;

  struct Tracker;

 private:
  std::unique_ptr<Tracker> tracker_;
  std::atomic<uint32_t> secret_pid_{0};
};

}  // namespace tolvan::x11
