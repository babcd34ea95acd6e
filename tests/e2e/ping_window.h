// A top-level window of the test's own that takes _NET_WM_PING the way toolkits do: its
// thread echoes each ping to the root window, after a delay that plays a busy application.
// Without the protocol, or with answers switched off, it plays an application that cannot
// or does not answer.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#undef Status

namespace tolvan::x11 {

class PingWindow {
 public:
  enum class Plays { Answering, NotListingPings, Hanging };

  explicit PingWindow(Plays plays, std::chrono::milliseconds delay = {}) : delay_(delay) {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return;
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 10, 10, 0, 0, 0);
    Atom ping = XInternAtom(display_, "_NET_WM_PING", False);
    Atom delete_window = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    Atom protocols[] = {delete_window, ping};
    XSetWMProtocols(display_, window_, protocols, plays == Plays::NotListingPings ? 1 : 2);
    XSync(display_, False);
    answers_ = plays == Plays::Answering;
    thread_ = std::thread([this] { serve(); });
  }
  ~PingWindow() {
    if (!display_) return;
    stop_ = true;
    thread_.join();
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
  }
  PingWindow(const PingWindow&) = delete;
  PingWindow& operator=(const PingWindow&) = delete;

  uint64_t id() const { return window_; }
  int pings_seen() const { return pings_seen_; }

 private:
  void serve() {
    while (!stop_) {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type != ClientMessage) continue;
        ++pings_seen_;
        if (!answers_) continue;
        std::this_thread::sleep_for(delay_);
        event.xclient.window = DefaultRootWindow(display_);
        XSendEvent(display_, DefaultRootWindow(display_), False,
                   SubstructureNotifyMask | SubstructureRedirectMask, &event);
        XFlush(display_);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  Display* display_ = nullptr;
  Window window_ = 0;
  std::chrono::milliseconds delay_;
  bool answers_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<int> pings_seen_{0};
  std::thread thread_;
};

}  // namespace tolvan::x11
