#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#undef Status

#include "platform/x11/x11_hook.h"

#include <cstring>

#include "platform/vk_codes.h"
#include "platform/x11/x11_error_trap.h"
#include "platform/x11/x11_grab_masks.h"

namespace tolvan::x11 {
namespace {

constexpr const char* kXTestKeyboard = "Virtual core XTEST keyboard";

}  // namespace

X11Hook::X11Hook(X11Keyboard& keyboard, InjectionLedger& ledger, Clock& clock)
    : keyboard_(keyboard), ledger_(ledger), clock_(clock) {
  if (!x_.ok()) {
    why_ = "Cannot open the X display.";
    return;
  }
  Display* d = x_.display();
  int event = 0, error = 0;
  int major = 2, minor = 2;
  if (!XQueryExtension(d, "XInputExtension", &xi_opcode_, &event, &error) ||
      XIQueryVersion(d, &major, &minor) != Success || major < 2 || (major == 2 && minor < 2)) {
    why_ = "The X server lacks XInput 2.2.";
    return;
  }
  int count = 0;
  if (XIDeviceInfo* devices = XIQueryDevice(d, XIAllDevices, &count)) {
    for (int i = 0; i < count; ++i)
      if (devices[i].use == XISlaveKeyboard && std::strcmp(devices[i].name, kXTestKeyboard) == 0)
        xtest_keyboard_ = devices[i].deviceid;
    XIFreeDeviceInfo(devices);
  }
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(bits, XI_RawKeyPress);
  XISetMask(bits, XI_RawKeyRelease);
  XISetMask(bits, XI_RawButtonPress);
  XISetMask(bits, XI_RawButtonRelease);
  XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
  XISelectEvents(d, DefaultRootWindow(d), &mask, 1);
  unsigned delay = 0, interval = 0;
  if (XkbGetAutoRepeatRate(d, XkbUseCoreKbd, &delay, &interval) && delay > 0 && interval > 0) {
    repeat_delay_ = std::chrono::milliseconds(delay);
    repeat_interval_ = std::chrono::milliseconds(interval);
  }
  XKeyboardState control;
  XGetKeyboardControl(d, &control);
  for (int kc = 0; kc < 256; ++kc)
    repeats_[kc] = control.global_auto_repeat == AutoRepeatModeOn && ((control.auto_repeats[kc / 8] >> (kc % 8)) & 1);
  XFlush(d);
  ok_ = true;
  x_.start([this](XEvent& e) { handle(e); });
  repeater_ = std::thread([this] { repeat_held_keys(); });
}

void X11Hook::repeat_held_keys() {
  std::unique_lock held(repeat_mutex_);
  for (;;) {
    if (stopping_) return;
    if (held_ == 0) {
      repeat_changed_.wait(held);
      continue;
    }
    if (repeat_changed_.wait_until(held, next_repeat_) != std::cv_status::timeout) continue;
    if (held_ == 0 || stopping_) continue;
    const uint8_t key = held_;
    next_repeat_ += repeat_interval_;
    held.unlock();
    {
      auto x = x_.lock();  // one callback at a time, with the X thread's
      on_raw_key(key, -1, true, true);
    }
    held.lock();
  }
}

X11Hook::~X11Hook() {
  {
    std::lock_guard held(repeat_mutex_);
    stopping_ = true;
  }
  repeat_changed_.notify_all();
  if (repeater_.joinable()) repeater_.join();
  x_.stop();
  if (!ok_) return;
  auto held = x_.lock();
  for (uint8_t kc : std::set<uint8_t>(grabbed_)) XUngrabKey(x_.display(), kc, AnyModifier, DefaultRootWindow(x_.display()));
  XFlush(x_.display());
}

void X11Hook::handle(XEvent& event) {
  // A grabbed key's events come to this connection as core events, and the server keeps
  // its raw events from us meanwhile: the core ones stand in for them.
  if ((event.type == KeyPress || event.type == KeyRelease) && grabbed_.count(static_cast<uint8_t>(event.xkey.keycode))) {
    on_raw_key(static_cast<uint8_t>(event.xkey.keycode), xtest_keyboard_, event.type == KeyPress);
    return;
  }
  XGenericEventCookie* cookie = &event.xcookie;
  if (cookie->type != GenericEvent || cookie->extension != xi_opcode_) return;
  if (!XGetEventData(x_.display(), cookie)) return;
  const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
  switch (cookie->evtype) {
    case XI_RawKeyPress:
    case XI_RawKeyRelease:
      if (grabbed_.count(static_cast<uint8_t>(raw->detail))) break;  // comes as a core event
      on_raw_key(static_cast<uint8_t>(raw->detail), raw->sourceid, cookie->evtype == XI_RawKeyPress);
      break;
    case XI_RawButtonPress:
    case XI_RawButtonRelease: {
      std::shared_ptr<MouseCallback> callback;
      {
        std::lock_guard held(callbacks_mutex_);
        callback = mouse_callback_;
      }
      MouseEvent m;
      m.down = cookie->evtype == XI_RawButtonPress;
      if (raw->detail == 1) m.button = MouseButton::Left;
      else if (raw->detail == 2) m.button = MouseButton::Middle;
      else if (raw->detail == 3) m.button = MouseButton::Right;
      else break;  // wheel and side buttons
      if (callback) (*callback)(m);
      break;
    }
    default:
      break;
  }
  XFreeEventData(x_.display(), cookie);
}

void X11Hook::on_raw_key(uint8_t keycode, int source, bool down, bool repeat) {
  KeyEvent e;
  std::optional<InjectedKey> ours;
  if (source == xtest_keyboard_ && !repeat) ours = ledger_.take(keycode, down);
  if (!repeat) {
    std::lock_guard held(repeat_mutex_);
    if (down && !ours && repeats_[keycode]) {
      held_ = keycode;
      next_repeat_ = std::chrono::steady_clock::now() + repeat_delay_;
    } else if (down || keycode == held_) {
      held_ = 0;  // another key's press or this key's release ends the repeat
    }
    repeat_changed_.notify_all();
  }
  if (ours) {
    e.vk = ours->vk;
    e.scan = ours->scan;
    e.extended = ours->extended;
    e.injected = true;
  } else {
    const KeyPosition key = keyboard_.key_of(keycode);
    e.vk = key.vk;
    e.scan = key.scan & 0xFF;
    e.extended = (key.scan & kExtendedScan) != 0;
  }
  // Windows sends the "system" messages while Alt is held without Ctrl (AltGr counts as
  // Ctrl+Alt), for Alt itself, and for F10.
  const KeyStateArray state = keyboard_.keyboard_state().value_or(KeyStateArray{});
  const bool ctrl = (state[vk::Control] & kKeyDownBit) != 0;
  const bool alt = (state[vk::Menu] & kKeyDownBit) != 0 || (down && vk::is_alt(e.vk));
  const bool sys = ((alt && !ctrl) || e.vk == vk::F10) && !keyboard_.is_altgr_key(keycode);
  if (down) e.message = sys ? KeyMessage::SysKeyDown : KeyMessage::KeyDown;
  else e.message = sys ? KeyMessage::SysKeyUp : KeyMessage::KeyUp;
  e.time_ms = clock_.now_ms();

  if (!ours && !repeat) keyboard_.note_user_key(keycode, down);
  std::shared_ptr<KeyCallback> callback;
  {
    std::lock_guard held(callbacks_mutex_);
    callback = key_callback_;
  }
  if (callback) (void)(*callback)(e);
  // The key's own event still sees the state from before it, as a Windows hook does.
  if (!repeat) keyboard_.note_key(keycode, down);
}

Status X11Hook::install_keyboard(KeyCallback callback) {
  if (!ok_) return Error{why_};
  {
    // On the events' own connection: the raw events that came before the answer are still
    // queued, and are handled after it.
    auto x_held = x_.lock();
    char keys[32];
    XQueryKeymap(x_.display(), keys);
    keyboard_.set_down_keys(reinterpret_cast<const uint8_t*>(keys));
  }
  std::lock_guard held(callbacks_mutex_);
  key_callback_ = std::make_shared<KeyCallback>(std::move(callback));
  return {};
}

Status X11Hook::uninstall_keyboard() {
  std::lock_guard held(callbacks_mutex_);
  key_callback_.reset();
  return {};
}

Status X11Hook::install_mouse(MouseCallback callback) {
  if (!ok_) return Error{why_};
  std::lock_guard held(callbacks_mutex_);
  mouse_callback_ = std::make_shared<MouseCallback>(std::move(callback));
  return {};
}

Status X11Hook::uninstall_mouse() {
  std::lock_guard held(callbacks_mutex_);
  mouse_callback_.reset();
  return {};
}

Status X11Hook::grab_key(uint16_t code) {
  if (!ok_) return Error{why_};
  std::optional<KeyCode> kc = keyboard_.keycode_for_vk(code);
  if (!kc) return Error{"No key types this virtual key."};
  auto held = x_.lock();
  Display* d = x_.display();
  const Window root = DefaultRootWindow(d);
  XErrorTrap trap(d);
  const unsigned num = num_lock_mask(d);
  // With Shift as well: Shift+Tab must not slip past a grabbed Tab.
  for (unsigned base : {0u, static_cast<unsigned>(ShiftMask)})
    for (unsigned mods : lock_variants(base, num)) XGrabKey(d, *kc, mods, root, False, GrabModeAsync, GrabModeAsync);
  if (trap.sync() != 0) {
    for (unsigned base : {0u, static_cast<unsigned>(ShiftMask)})
      for (unsigned mods : lock_variants(base, num)) XUngrabKey(d, *kc, mods, root);
    return Error{"Another program holds that key."};
  }
  grabbed_.insert(*kc);
  return {};
}

void X11Hook::ungrab_key(uint16_t code) {
  if (!ok_) return;
  std::optional<KeyCode> kc = keyboard_.keycode_for_vk(code);
  if (!kc) return;
  auto held = x_.lock();
  Display* d = x_.display();
  XErrorTrap trap(d);
  const unsigned num = num_lock_mask(d);
  for (unsigned base : {0u, static_cast<unsigned>(ShiftMask)})
    for (unsigned mods : lock_variants(base, num)) XUngrabKey(d, *kc, mods, DefaultRootWindow(d));
  // A press of the key made the grab active for the whole keyboard until its release;
  // what Tolvan types next must reach the application, so that ends now.
  XUngrabKeyboard(d, CurrentTime);
  XFlush(d);
  grabbed_.erase(*kc);
}

void X11Hook::flush() {
  {
    std::lock_guard lock(callbacks_mutex_);
    if (!key_callback_) return;  // nothing comes back without the hook
  }
  // Events the server dropped never come back; the wait ends regardless.
  for (int waited = 0; waited < 200 && !ledger_.empty(); ++waited)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace tolvan::x11
