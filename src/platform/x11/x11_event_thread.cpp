#include <X11/Xlib.h>
#undef Status

#include "platform/x11/x11_event_thread.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace tolvan::x11 {

XEventThread::XEventThread() {
  display_ = XOpenDisplay(nullptr);
  // Non-blocking: a wake while the pipe is full is a wake already.
  if (pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0) wake_[0] = wake_[1] = -1;
}

XEventThread::~XEventThread() {
  stop();
  if (display_) XCloseDisplay(display_);
  for (int fd : wake_)
    if (fd >= 0) close(fd);
}

void XEventThread::start(Handler handler) {
  if (!display_ || thread_.joinable()) return;
  handler_ = std::move(handler);
  thread_ = std::thread([this] { run(); });
}

void XEventThread::stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  wake();
  thread_.join();
  stopping_ = false;
}

void XEventThread::wake() {
  if (wake_[1] < 0) return;
  char byte = 0;
  if (write(wake_[1], &byte, 1) != 1) {
    // A full pipe already wakes the thread; nothing else to do.
  }
}

void XEventThread::run() {
  const int xfd = ConnectionNumber(display_);
  for (;;) {
    {
      auto held = lock();
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        handler_(event);
      }
    }
    pollfd fds[2] = {{xfd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (poll(fds, 2, 250) < 0) continue;
    if (fds[1].revents & POLLIN) {
      char bytes[64];
      if (read(wake_[0], bytes, sizeof bytes) < 0) {
        // Nothing to drain; the loop looks at the connection either way.
      }
      if (stopping_) return;
    }
  }
}

}  // namespace tolvan::x11
