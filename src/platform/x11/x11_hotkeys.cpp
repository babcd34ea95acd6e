#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#undef Status

#include "platform/x11/x11_hotkeys.h"

#include <glib.h>

#include "core/main_loop.h"
#include "platform/x11/x11_error_trap.h"
#include "platform/x11/x11_grab_masks.h"

namespace tolvan::x11 {
namespace {

constexpr unsigned kWantedMask = ShiftMask | ControlMask | Mod1Mask | Mod4Mask;

}  // namespace

unsigned x_modifiers_of(uint32_t bits) {
  unsigned mask = 0;
  if (bits & kModAlt) mask |= Mod1Mask;
  if (bits & kModControl) mask |= ControlMask;
  if (bits & kModShift) mask |= ShiftMask;
  if (bits & kModWin) mask |= Mod4Mask;
  return mask;
}

X11Hotkeys::X11Hotkeys(X11Keyboard& keyboard) : keyboard_(keyboard) {
  if (!x_.ok()) return;
  // Held keys repeat as presses only, so a release really is the end of a press.
  Bool supported = False;
  XkbSetDetectableAutoRepeat(x_.display(), True, &supported);
  num_lock_ = num_lock_mask(x_.display());
  x_.start([this](XEvent& e) { handle(e); });
}

X11Hotkeys::~X11Hotkeys() {
  x_.stop();
  if (!x_.ok()) return;
  for (const auto& [id, grab] : grabs_) ungrab(grab);
  XFlush(x_.display());
}

void X11Hotkeys::set_handler(Handler handler) {
  std::lock_guard held(handler_mutex_);
  handler_ = std::move(handler);
}

bool X11Hotkeys::register_hotkey(int id, uint32_t modifiers, uint16_t code) {
  if (!x_.ok() || code == 0) return false;
  std::optional<KeyCode> kc = keyboard_.keycode_for_vk(code);
  if (!kc) return false;
  auto held = x_.lock();
  unregister_hotkey(id);
  Display* d = x_.display();
  Grab grab{*kc, x_modifiers_of(modifiers), false};
  XErrorTrap trap(d);
  for (unsigned mods : lock_variants(grab.modifiers, num_lock_))
    XGrabKey(d, grab.keycode, mods, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync);
  if (trap.sync() != 0) {
    ungrab(grab);
    return false;
  }
  grabs_[id] = grab;
  return true;
}

void X11Hotkeys::ungrab(const Grab& grab) {
  Display* d = x_.display();
  XErrorTrap trap(d);
  for (unsigned mods : lock_variants(grab.modifiers, num_lock_))
    XUngrabKey(d, grab.keycode, mods, DefaultRootWindow(d));
}

void X11Hotkeys::unregister_hotkey(int id) {
  if (!x_.ok()) return;
  auto held = x_.lock();
  auto it = grabs_.find(id);
  if (it == grabs_.end()) return;
  ungrab(it->second);
  grabs_.erase(it);
}

void X11Hotkeys::handle(XEvent& event) {
  if (event.type != KeyPress && event.type != KeyRelease) return;
  const auto keycode = static_cast<uint8_t>(event.xkey.keycode);
  const unsigned mods = event.xkey.state & kWantedMask;
  for (auto& [id, grab] : grabs_) {
    if (grab.keycode != keycode) continue;
    if (event.type == KeyRelease) {
      grab.down = false;
      continue;
    }
    if (grab.modifiers != mods || grab.down) continue;
    grab.down = true;
    // When the press reached Tolvan, for measuring what a hotkey takes to show its window.
    g_log("Tolvan", G_LOG_LEVEL_DEBUG, "hotkey %d pressed at %" G_GINT64_FORMAT " us", id, g_get_real_time());
    Handler handler;
    {
      std::lock_guard held(handler_mutex_);
      handler = handler_;
    }
    if (handler) post_to_main_loop([handler, id = id] { handler(id); });
  }
}

}  // namespace tolvan::x11
