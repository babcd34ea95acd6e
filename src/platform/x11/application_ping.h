// ApplicationPing: asks the application behind a top-level window whether it has caught up
// with its input. A window that lists _NET_WM_PING among its WM_PROTOCOLS answers the ping
// from its event loop, and toolkits read X events one at a time (GDK translates the next only
// once the last was dispatched): the answer means every key sent before the ping has been
// handed to the application's own handlers. What those handlers then do may take longer
// (LibreOffice inserts typed text later). The wait is bounded, so an application that hangs
// delays Tolvan by the bound at most.
#pragma once

#include <chrono>
#include <cstdint>

struct _XDisplay;

namespace tolvan::x11 {

enum class PingAnswer { Answered, NotSupported, NoAnswer };

class ApplicationPing {
 public:
  explicit ApplicationPing(_XDisplay* display);

  // Sends a ping to `window` (a client's top-level window) and waits for its answer.
  PingAnswer ping(uint64_t window, std::chrono::milliseconds bound);

 private:
  bool takes_pings(uint64_t window);

  _XDisplay* display_;
  unsigned long protocols_atom_ = 0;
  unsigned long ping_atom_ = 0;
  long next_token_ = 1;
  // Whether the last window asked lists the ping: asked once per window.
  uint64_t checked_window_ = 0;
  bool checked_takes_pings_ = false;
};

}  // namespace tolvan::x11
