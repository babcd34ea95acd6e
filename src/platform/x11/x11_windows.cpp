#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Status

#include "platform/x11/x11_windows.h"

#include "platform/x11/atspi_focus.h"
#include "platform/x11/x11_error_trap.h"
#include "platform/x11/x11_property.h"

namespace tolvan::x11 {
X11Windows::X11Windows()
    : display_(XOpenDisplay(nullptr)),
      focus_(display_ ? std::make_unique<AtspiFocus>() : nullptr),
      // The newly active window's application sets its focus as it takes the keyboard.
      active_([this] {
        if (focus_) focus_->look_again(0);
      }) {}

X11Windows::~X11Windows() {
  if (display_) XCloseDisplay(display_);
}

uint32_t X11Windows::window_pid(WindowId window) {
  if (window == pid_window_) return pid_;
  XErrorTrap trap(display_);
  uint32_t pid = static_cast<uint32_t>(property_value(
      display_, static_cast<Window>(window), XInternAtom(display_, "_NET_WM_PID", False), XA_CARDINAL));
  if (trap.sync() != 0) pid = 0;
  pid_window_ = window;
  pid_ = pid;
  return pid;
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
  Caret caret;
  caret.window = window;
  int x = 0, y = 0;
  XWindowAttributes attributes{};
  uint32_t pid = 0;
  {
    std::lock_guard held(mutex_);
    XErrorTrap trap(display_);
    Window child = None;
    XTranslateCoordinates(display_, static_cast<Window>(window), DefaultRootWindow(display_), 0, 0, &x, &y,
                          &child);
    const bool have_size = XGetWindowAttributes(display_, static_cast<Window>(window), &attributes) != 0;
    if (trap.sync() != 0) return caret;
    caret.rect = Rect{x, y, x, y};
    if (!focus_ || !have_size) return caret;
    pid = window_pid(window);
  }
  // Asked without the lock: the application may take a moment to answer.
  const std::optional<Rect> at =
      believed_caret(focus_->focused(pid), pid, Rect{x, y, x + attributes.width, y + attributes.height});
  if (!at) return caret;
  caret.rect = *at;
  caret.reported = true;
  return caret;
}

uint32_t X11Windows::foreground_pid() {
  const WindowId window = foreground();
  std::lock_guard held(mutex_);
  return window != 0 ? window_pid(window) : 0;
}

bool X11Windows::focus_is_secret() {
  if (!focus_) return false;
  const uint32_t pid = foreground_pid();
  const uint32_t secret = focus_->secret_pid();
  // The key being asked about may move the focus (Tab, a shortcut): the answer for the
  // next one is looked up meanwhile.
  focus_->look_again(pid);
  return secret != 0 && pid == secret;
}

void X11Windows::focus_may_have_moved() {
  if (focus_) focus_->look_again(foreground_pid());
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
