#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#undef Status

#include "platform/x11/x11_input.h"

#include <algorithm>
#include <thread>

#include "core/utf.h"
#include "platform/vk_codes.h"

namespace tolvan::x11 {
namespace {

// The keysym of a character: Latin-1 keysyms are the code points, the rest the Unicode
// keysym range.
KeySym keysym_of(uint32_t cp) {
  if ((cp >= 0x20 && cp <= 0x7E) || (cp >= 0xA0 && cp <= 0xFF)) return cp;
  return 0x01000000 + cp;
}

// Every unused key code, up to this many: the more there are, the rarer a rebinding that
// must wait for applications to catch up.
constexpr size_t kMostSpareKeys = 128;

std::vector<KeyCode> find_spare_keys(Display* d) {
  int lo = 0, hi = 0, per = 0;
  XDisplayKeycodes(d, &lo, &hi);
  KeySym* map = XGetKeyboardMapping(d, static_cast<::KeyCode>(lo), hi - lo + 1, &per);
  std::vector<KeyCode> spare;
  for (int kc = hi; map && kc >= lo; --kc) {  // from the top: far from real keys
    bool empty = true;
    for (int i = 0; i < per; ++i) empty = empty && map[(kc - lo) * per + i] == NoSymbol;
    if (empty) spare.push_back(static_cast<KeyCode>(kc));
    if (spare.size() == kMostSpareKeys) break;
  }
  if (map) XFree(map);
  return spare;
}

}  // namespace

std::optional<SpareKeys::Pick> SpareKeys::pick(uint32_t cp, Clock::time_point now) {
  if (codes_.empty()) return std::nullopt;
  for (size_t i = 0; i < codes_.size(); ++i)
    if (bound_[i] == cp) {
      used_[i] = now;
      return Pick{codes_[i], false, now};
    }
  const size_t i = next_;
  next_ = (next_ + 1) % codes_.size();
  const Clock::time_point not_before = bound_[i] == 0 ? now : std::max(now, used_[i] + kReuseGap);
  bound_[i] = cp;
  used_[i] = not_before;
  return Pick{codes_[i], true, not_before};
}

X11Input::X11Input(X11Keyboard& keyboard, InjectionLedger& ledger) : keyboard_(keyboard), ledger_(ledger) {
  display_ = XOpenDisplay(nullptr);
  if (!display_) return;
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
    XCloseDisplay(display_);
    display_ = nullptr;
    return;
  }
  spares_ = SpareKeys(find_spare_keys(display_));
  ping_ = ApplicationPing(display_);
}

X11Input::~X11Input() {
  if (!display_) return;
  // Give the spare keys back empty, in one change: every change makes each client reload
  // its keymap.
  const std::vector<KeyCode>& spare = spares_.codes();
  if (!spare.empty()) {
    const auto [lo, hi] = std::minmax_element(spare.begin(), spare.end());
    const int count = *hi - *lo + 1;
    int per = 0;
    KeySym* map = XGetKeyboardMapping(display_, static_cast<::KeyCode>(*lo), count, &per);
    if (map) {
      for (KeyCode kc : spare)
        for (int i = 0; i < per; ++i) map[(kc - *lo) * per + i] = NoSymbol;
      XChangeKeyboardMapping(display_, *lo, per, map, count);
      XFree(map);
    }
  }
  XSync(display_, False);
  XCloseDisplay(display_);
}

void X11Input::fake(KeyCode keycode, bool down, const InjectedKey& as) {
  InjectedKey entry = as;
  entry.keycode = keycode;
  entry.down = down;
  ledger_.sent(entry);
  if (paced_) pace(keycode, down, as);
  XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime);
  XFlush(display_);
}

X11Input::KeyKind X11Input::kind_of(const InjectedKey& key) {
  const uint16_t code = key.vk;
  if (vk::is_shift(code) || vk::is_control(code) || vk::is_alt(code) || code == vk::Capital) return KeyKind::Modifier;
  const bool character = code == vk::Space || (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
                         (code >= vk::Numpad0 && code <= vk::Divide) || (code >= vk::Oem1 && code <= vk::Oem3) ||
                         (code >= vk::Oem4 && code <= vk::Oem7) || code == vk::Oem102;
  return character ? KeyKind::Character : KeyKind::Other;
}

void X11Input::pace(KeyCode keycode, bool down, const InjectedKey& as) {
  if (!down) {
    last_released_ = keycode;
    return;
  }
  const KeyKind kind = kind_of(as);
  const bool kind_changes = kind != KeyKind::Modifier && last_kind_ != KeyKind::Modifier && kind != last_kind_;
  if (kind != KeyKind::Modifier) last_kind_ = kind;
  if (!kind_changes && keycode != last_released_) return;
  // The server stamps an event when it takes the request in: after the round trip the
  // release before has its time, and the waits count from there.
  XSync(display_, False);
  if (!kind_changes) {
    std::this_thread::sleep_for(kSameKeyGap);
    return;
  }
  // LibreOffice takes in keys some time after its event loop handed them on, and a busy
  // machine stretches that time: the settle grows with how long the application took to
  // answer a ping (not at all for an application that does not take pings, and one that did
  // not answer within the bound has had the bound).
  const auto asked = std::chrono::steady_clock::now();
  const PingAnswer answer = ping_.ping(paced_window_, kPingBound);
  const auto busy = answer == PingAnswer::Answered ? std::chrono::steady_clock::now() - asked
                                                   : std::chrono::steady_clock::duration{};
  std::this_thread::sleep_for(kKindChangeSettle + kBusyFactor * busy);
}

void X11Input::pace_keys(bool on, WindowId window) {
  std::lock_guard held(mutex_);
  paced_ = on;
  paced_window_ = on ? window : 0;
  last_kind_ = KeyKind::Modifier;
}

void X11Input::prepare_characters(const std::u32string& characters) {
  if (!display_ || characters.empty()) return;
  std::lock_guard held(mutex_);
  const SpareKeys::Clock::time_point now = SpareKeys::Clock::now();
  SpareKeys::Clock::time_point not_before = now;
  std::vector<std::pair<KeyCode, KeySym>> binds;
  // More characters than spare keys: the rest are bound one by one as they come.
  const size_t room = std::min(characters.size(), spares_.codes().size());
  for (size_t i = 0; i < room; ++i) {
    std::optional<SpareKeys::Pick> pick = spares_.pick(characters[i], now);
    if (!pick || !pick->rebind) continue;
    binds.emplace_back(pick->keycode, keysym_of(characters[i]));
    not_before = std::max(not_before, pick->not_before);
  }
  if (binds.empty()) return;
  std::this_thread::sleep_until(not_before);
  // One change over the range of keys involved: one notification to every client.
  auto [lo, hi] = std::minmax_element(binds.begin(), binds.end());
  const KeyCode first = lo->first;
  const int count = hi->first - first + 1;
  int per = 0;
  KeySym* map = XGetKeyboardMapping(display_, static_cast<::KeyCode>(first), count, &per);
  if (!map) return;
  for (const auto& [keycode, sym] : binds)
    for (int level = 0; level < per; ++level) map[(keycode - first) * per + level] = level < 4 ? sym : NoSymbol;
  XChangeKeyboardMapping(display_, first, per, map, count);
  XFree(map);
  XSync(display_, False);
  std::this_thread::sleep_for(kRebindSettle);
}

void X11Input::type_code_point(uint32_t cp, bool down, char16_t unit) {
  InjectedKey as{0, down, vk::Packet, unit, false};
  if (!down) {
    if (unicode_key_down_ != 0) fake(unicode_key_down_, false, as);
    unicode_key_down_ = 0;
    return;
  }
  std::optional<SpareKeys::Pick> pick = spares_.pick(cp, SpareKeys::Clock::now());
  if (!pick) return;
  if (pick->rebind) {
    std::this_thread::sleep_until(pick->not_before);
    KeySym sym = keysym_of(cp);
    KeySym syms[4] = {sym, sym, sym, sym};
    XChangeKeyboardMapping(display_, pick->keycode, 4, syms, 1);
    XSync(display_, False);
  }
  fake(pick->keycode, true, as);
  unicode_key_down_ = pick->keycode;
}

void X11Input::send_key(uint16_t code, uint16_t scan, uint32_t flags) {
  if (!display_) return;
  std::lock_guard held(mutex_);
  const bool down = (flags & kKeyUp) == 0;
  if (flags & kKeyUnicode) {
    const char16_t unit = scan;
    if (utf16_is_high_surrogate(unit)) {  // the pair types once its second half comes
      if (down) high_surrogate_ = unit;
      return;
    }
    uint32_t cp = unit;
    if (utf16_is_low_surrogate(unit)) {
      if (high_surrogate_ == 0) return;
      cp = utf16_join(high_surrogate_, unit);
      if (!down) high_surrogate_ = 0;
    }
    type_code_point(cp, down, unit);
    return;
  }
  const bool extended = (flags & kKeyExtended) != 0;
  // The generic modifiers become a side the way Windows resolves them.
  if (code == vk::Shift) code = scan == 0x36 ? vk::RShift : vk::LShift;
  else if (code == vk::Control) code = extended ? vk::RControl : vk::LControl;
  else if (code == vk::Menu) code = extended ? vk::RMenu : vk::LMenu;
  std::optional<KeyCode> kc = keyboard_.keycode_for_vk(code);
  if (!kc) return;
  if (down && !vk::is_shift(code) && !vk::is_control(code) && !vk::is_alt(code)) {
    // A key the user still holds cannot go down again: the server would drop the press
    // (the delimiter Tolvan types again while the user's is not yet up). Let it up first.
    // The hook's record of the user's keys answers without a round trip to the server.
    if (keyboard_.user_holds(*kc)) fake(*kc, false, InjectedKey{*kc, false, code, scan, extended});
  }
  fake(*kc, down, InjectedKey{*kc, down, code, scan, extended});
}

bool X11Input::post_char(WindowId, char16_t unit) {
  // X has no posted characters; the character is typed to the focused window instead.
  send_key(0, unit, kKeyUnicode);
  send_key(0, unit, kKeyUnicode | kKeyUp);
  return display_ != nullptr;
}

}  // namespace tolvan::x11
