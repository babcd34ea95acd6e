#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Status

#include "platform/x11/x11_windows.h"

#include "platform/x11/x11_error_trap.h"

namespace tolvan::x11 {

X11Windows::X11Windows() { display_ = XOpenDisplay(nullptr); }

X11Windows::~X11Windows() {
  if (display_) XCloseDisplay(display_);
}

WindowId X11Windows::foreground() {
  if (!display_) return 0;
  if (std::optional<uint64_t> active = active_.current()) return *active;
  std::lock_guard held(mutex_);
  XErrorTrap trap(display_);
  Window focus = None;
  int revert = 0;
  XGetInputFocus(display_, &focus, &revert);
  return focus != None && focus != PointerRoot ? focus : 0;
}

std::string X11Windows::class_name(WindowId window) {
  if (!display_ || window == 0) return "";
  std::lock_guard held(mutex_);
  XErrorTrap trap(display_);
  XClassHint hint{};
  std::string name;
  if (XGetClassHint(display_, static_cast<Window>(window), &hint)) {
    if (hint.res_class) name = hint.res_class;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
  }
  return trap.sync() == 0 ? name : "";
}

std::optional<Caret> X11Windows::caret() {
  const WindowId window = foreground();
  if (window == 0) return std::nullopt;
  std::lock_guard held(mutex_);
  XErrorTrap trap(display_);
  int x = 0, y = 0;
  Window child = None;
  XTranslateCoordinates(display_, static_cast<Window>(window), DefaultRootWindow(display_), 0, 0, &x, &y,
                        &child);
  Caret caret;
  caret.window = window;
  if (trap.sync() == 0) caret.rect = Rect{x, y, x, y};
  return caret;
}

bool X11Windows::bring_to_front(WindowId window) {
  if (!display_ || window == 0) return false;
  std::lock_guard held(mutex_);
  XErrorTrap trap(display_);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, static_cast<Window>(window), &attributes) || trap.sync() != 0)
    return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(window);
  event.xclient.message_type = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 2;  // a request from a pager: window managers honour it
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, DefaultRootWindow(display_), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display_);
  return trap.sync() == 0;
}

}  // namespace tolvan::x11
