#include "keyboard_held_elsewhere.h"

#include <X11/Xlib.h>

namespace tolvan::ui::testing {

struct KeyboardHeldElsewhere::Connection {
  Display* display = XOpenDisplay(nullptr);
  ~Connection() {
    if (display) XCloseDisplay(display);
  }
};

KeyboardHeldElsewhere::KeyboardHeldElsewhere() : connection_(std::make_unique<Connection>()) {
  Display* d = connection_->display;
  if (!d) return;
  held_ = XGrabKeyboard(d, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync,
                        CurrentTime) == GrabSuccess;
  XSync(d, False);
}

KeyboardHeldElsewhere::~KeyboardHeldElsewhere() { release(); }

void KeyboardHeldElsewhere::release() {
  if (!held_) return;
  XUngrabKeyboard(connection_->display, CurrentTime);
  XSync(connection_->display, False);
  held_ = false;
}

}  // namespace tolvan::ui::testing
