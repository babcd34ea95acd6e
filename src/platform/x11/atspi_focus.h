// AtspiFocus: follows the keyboard focus of accessible applications through AT-SPI, so that
// whether the focused control is a password field can be asked at any time without a D-Bus
// round trip, and where its caret is with one. Only focus changes are listened to; the caret
// is asked of the focused object when it is wanted, which spares the application an event
// and Tolvan two calls to it for every key typed. Listening at all has a price: once any
// program listens to AT-SPI events, GTK's accessibility bridge reports each key event to the
// AT-SPI registry and waits for the answer, so GTK applications take keys in more slowly
// while Tolvan runs.
//
// The tracker runs on its own thread with its own GLib main context, or, in a process that
// runs GLib's default main context (a toolkit's main loop, or tolvan-cli run's), on that
// context: libatspi sets up the connections to applications on the default context, and two
// threads may not both run one connection. Each focus event refreshes a small snapshot that
// readers copy under a lock (the secret flag is a plain atomic).
//
// Where there is no accessibility bus (no D-Bus session, AT-SPI not installed) it knows
// nothing: focused() says so and secret_pid() is 0.
//
// libatspi keeps one connection per process; one AtspiFocus at a time uses it. In a process
// with windows of its own, GTK's accessibility bridge serves other programs on that same
// connection from the main loop, so the tracker never asks its own process anything.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
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

// Where the tracker's events arrive: its own thread and context (a process that does not
// run the default main context), or the default main context, run by the process's main
// loop.
enum class FocusTracking { kOwnThread, kMainContext };

class AtspiFocus {
 public:
  explicit AtspiFocus(FocusTracking tracking = FocusTracking::kOwnThread);
  ~AtspiFocus();
  AtspiFocus(const AtspiFocus&) = delete;
  AtspiFocus& operator=(const AtspiFocus&) = delete;

  // The focus as last heard of, with its caret asked of its application now: a few calls,
  // made where the tracker runs and waited for at most kCaretWaitMs. Unknown when the
  // caller is on a thread that cannot wait for that (another thread runs the default
  // context the tracker listens on) and for Tolvan's own windows.
  FocusedAccessible focused() const;
  static constexpr int kCaretWaitMs = 200;
  // The process of the focused password field; 0 when the focus is not in one (or unknown).
  uint32_t secret_pid() const { return secret_pid_.load(std::memory_order_acquire); }
  // Blocks until the tracker has connected (or given up) and looked for the current focus;
  // false when it could not connect to the accessibility bus.
  bool wait_started() const;

  // The tracker thread's side, called from its event handlers.
  struct Loop;
  void publish(const FocusedAccessible& focused);

 private:
  std::unique_ptr<Loop> loop_;
  mutable std::mutex mutex_;
  FocusedAccessible focused_;
  std::atomic<uint32_t> secret_pid_{0};
};

}  // namespace tolvan::x11
