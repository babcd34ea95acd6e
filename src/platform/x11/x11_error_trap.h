// XErrorTrap: catches the X errors of the requests made while it lives (a grab that another
// program holds, a window that has gone), which Xlib would otherwise answer by ending the
// program. Xlib offers only a process-wide handler, so the trap records errors per thread.
#pragma once

#include <X11/Xlib.h>
#undef Status

namespace tolvan::x11 {

class XErrorTrap {
 public:
  explicit XErrorTrap(Display* display);
  ~XErrorTrap();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Waits for the server to answer every request so far; the first error code, 0 for none.
  int sync();

 private:
  Display* display_;
  XErrorTrap* outer_;
  int (*previous_)(Display*, XErrorEvent*);
  int error_ = 0;
  static int handle(Display* display, XErrorEvent* event);
};

}  // namespace tolvan::x11
