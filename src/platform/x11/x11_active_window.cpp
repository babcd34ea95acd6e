#include <X11/Xatom.h>
#include <X11/Xlib.h>
#undef Status

#include "platform/x11/x11_active_window.h"

#include <utility>

#include "platform/x11/x11_error_trap.h"
#include "platform/x11/x11_property.h"

namespace tolvan::x11 {

ActiveWindow::ActiveWindow(std::function<void()> changed) : changed_(std::move(changed)) {
  if (!x_.ok()) return;
  Display* d = x_.display();
  atom_ = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
  XSelectInput(d, DefaultRootWindow(d), PropertyChangeMask);
  // Selected before the first read: a change in between is not missed.
  read();
  x_.start([this](XEvent& event) {
    if (event.type != PropertyNotify || event.xproperty.atom != atom_) return;
    read();
    if (changed_) changed_();
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
  const uint64_t window = property_value(d, DefaultRootWindow(d), atom_, XA_WINDOW);
  // A window manager that announces no window (or "none", 0) leaves the focus to be asked.
  window_ = window;
  announced_ = window != 0;
}

}  // namespace tolvan::x11
