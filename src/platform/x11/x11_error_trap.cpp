#include "platform/x11/x11_error_trap.h"

namespace tolvan::x11 {
namespace {

// The innermost trap of this thread; the handler runs on the thread whose request failed.
thread_local XErrorTrap* current_trap = nullptr;

}  // namespace

XErrorTrap::XErrorTrap(Display* display) : display_(display), outer_(current_trap) {
  XSync(display_, False);  // errors of earlier requests are not ours
  current_trap = this;
  previous_ = XSetErrorHandler(&XErrorTrap::handle);
}

XErrorTrap::~XErrorTrap() {
  XSync(display_, False);
  XSetErrorHandler(previous_);
  current_trap = outer_;
}

int XErrorTrap::sync() {
  XSync(display_, False);
  return error_;
}

int XErrorTrap::handle(Display*, XErrorEvent* event) {
  if (current_trap && current_trap->error_ == 0) current_trap->error_ = event->error_code;
  return 0;
}

}  // namespace tolvan::x11
