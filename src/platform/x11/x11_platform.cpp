#include <X11/Xlib.h>
#undef Status

#include "platform/x11/x11_platform.h"

#include <cstdlib>

#include "platform/x11/x11_clipboard.h"
#include "platform/x11/x11_hook.h"
#include "platform/x11/x11_hotkeys.h"
#include "platform/x11/x11_injections.h"
#include "platform/x11/x11_input.h"
#include "platform/x11/x11_keyboard.h"
#include "platform/x11/x11_windows.h"

namespace tolvan::x11 {

X11Platform::X11Platform() = default;
X11Platform::~X11Platform() {
  if (clipboard_) clipboard_->release();
}

Result<std::unique_ptr<X11Platform>> X11Platform::open() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return Error{"No X display: DISPLAY is not set."};
  // The parts share connections with their own threads.
  XInitThreads();
  if (Display* probe = XOpenDisplay(nullptr)) {
    XCloseDisplay(probe);
  } else {
    return Error{std::string("Cannot open the X display ") + name + "."};
  }
  std::unique_ptr<X11Platform> p(new X11Platform());
  p->ledger_ = std::make_unique<InjectionLedger>();
  p->keyboard_ = std::make_unique<X11Keyboard>();
  if (!p->keyboard_->ok()) return Error{"Cannot read the X server's keymap (XKB)."};
  p->hook_ = std::make_unique<X11Hook>(*p->keyboard_, *p->ledger_, p->clock_);
  if (!p->hook_->ok()) return Error{p->hook_->why()};
  p->input_ = std::make_unique<X11Input>(*p->keyboard_, *p->ledger_);
  if (!p->input_->ok()) return Error{"The X server lacks the XTEST extension."};
  p->windows_ = std::make_unique<X11Windows>();
  p->hotkeys_ = std::make_unique<X11Hotkeys>(*p->keyboard_);
  p->clipboard_ = std::make_unique<X11Clipboard>();
  p->primary_ = std::make_unique<X11Clipboard>(std::chrono::milliseconds(1000), X11Clipboard::Selection::Primary);
  if (!p->windows_->ok() || !p->hotkeys_->ok() || !p->clipboard_->ok() || !p->primary_->ok())
    return Error{"Cannot open the X display."};
  return p;
}

Platform X11Platform::platform() {
  Platform p;
  p.hook = hook_.get();
  p.keyboard = keyboard_.get();
  p.input = input_.get();
  p.clipboard = clipboard_.get();
  p.primary = primary_.get();
  p.windows = windows_.get();
  p.sound = &sound_;
  p.clock = &clock_;
  p.hotkeys = hotkeys_.get();
  return p;
}

}  // namespace tolvan::x11
