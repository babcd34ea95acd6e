#include "platform/x11/application_ping.h"

#include <X11/Xlib.h>
#undef Status
#include <poll.h>

#include "platform/x11/x11_error_trap.h"

namespace tolvan::x11 {

ApplicationPing::ApplicationPing(Display* display) : display_(display) {
  if (!display_) return;
  protocols_atom_ = XInternAtom(display_, "WM_PROTOCOLS", False);
  ping_atom_ = XInternAtom(display_, "_NET_WM_PING", False);
}

bool ApplicationPing::takes_pings(uint64_t window) {
  if (window == checked_window_) return checked_takes_pings_;
  XErrorTrap trap(display_);
  Atom* protocols = nullptr;
  int count = 0;
  bool found = false;
  if (XGetWMProtocols(display_, static_cast<Window>(window), &protocols, &count)) {
    for (int i = 0; i < count; ++i) found = found || protocols[i] == ping_atom_;
    XFree(protocols);
  }
  if (trap.sync() != 0) found = false;
  checked_window_ = window;
  checked_takes_pings_ = found;
  return found;
}

PingAnswer ApplicationPing::ping(uint64_t window, std::chrono::milliseconds bound) {
  if (!display_ || window == 0 || !takes_pings(window)) return PingAnswer::NotSupported;
  const Window root = DefaultRootWindow(display_);
  const long token = next_token_++;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(window);
  event.xclient.message_type = protocols_atom_;
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(ping_atom_);
  event.xclient.data.l[1] = token;  // echoed back: the time stamp field, used as a token
  event.xclient.data.l[2] = static_cast<long>(window);
  // The answer goes to the root window for whoever selects its substructure; this
  // connection does only while it waits.
  XSelectInput(display_, root, SubstructureNotifyMask);
  {
    XErrorTrap trap(display_);
    XSendEvent(display_, static_cast<Window>(window), False, NoEventMask, &event);
    if (trap.sync() != 0) {
      XSelectInput(display_, root, NoEventMask);
      return PingAnswer::NotSupported;
    }
  }
  const auto deadline = std::chrono::steady_clock::now() + bound;
  PingAnswer answer = PingAnswer::NoAnswer;
  while (answer == PingAnswer::NoAnswer) {
    while (answer == PingAnswer::NoAnswer && XPending(display_) > 0) {
      XEvent got;
      XNextEvent(display_, &got);
      if (got.type == ClientMessage && got.xclient.message_type == protocols_atom_ &&
          static_cast<Atom>(got.xclient.data.l[0]) == ping_atom_ && got.xclient.data.l[1] == token)
        answer = PingAnswer::Answered;
    }
    if (answer == PingAnswer::Answered) break;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd fd{ConnectionNumber(display_), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left.count()));
  }
  XSelectInput(display_, root, NoEventMask);
  // What else came while this connection listened is of no use to it.
  XSync(display_, True);
  return answer;
}

}  // namespace tolvan::x11
