#include <X11/Xatom.h>
#include <X11/Xlib.h>
#undef Status

#include "platform/x11/x11_active_window.h"

#include "platform/x11/x11_error_trap.h"

namespace tolvan::x11 {

ActiveWindow::ActiveWindow() {
  if (!x_.ok()) return;
  Display* d = x_.display();
  atom_ = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
  XSelectInput(d, DefaultRootWindow(d), PropertyChangeMask);
  // Selected before the first read: a change in between is not missed.
  read();
  x_.start([this](XEvent& event) {
    if (event.type == PropertyNotify && event.xproperty.atom == atom_) read();
  });
}

ActiveWindow::~ActiveWindow() { x_.stop(); }

std::optional<uint64_t> ActiveWindow::current() const {
  if (!announced_) return std::nullopt;
  return window_.load();
}

void ActiveWindow::read() {
  Display* d = x_.display();
  auto held = x_.lock();
  XErrorTrap trap(d);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  uint64_t window = 0;
  const bool found = XGetWindowProperty(d, DefaultRootWindow(d), atom_, 0, 1, False, XA_WINDOW, &type,
                                        &format, &count, &after, &data) == Success &&
                     data && count == 1 && format == 32;
  if (found) window = *reinterpret_cast<unsigned long*>(data);
  if (data) XFree(data);
  // A window manager that announces "no window" (0) leaves the focus to be asked.
  window_ = window;
  announced_ = found && window != 0;
}

}  // namespace tolvan::x11
