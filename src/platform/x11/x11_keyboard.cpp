#include "platform/x11/x11_keyboard.h"

#include <X11/keysym.h>
#include <xcb/xcb.h>
// xcb/xkb.h names a field "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <clocale>
#include <cstdlib>
#include <memory>

#include "core/utf.h"
#include "platform/vk_codes.h"

namespace tolvan::x11 {
namespace {

// Keysyms of modifier and lock keys, which compose passes over.
bool is_modifier_keysym(xkb_keysym_t s) {
  return (s >= XKB_KEY_Shift_L && s <= XKB_KEY_Hyper_R) ||
         (s >= XKB_KEY_ISO_Lock && s <= XKB_KEY_ISO_Level5_Lock) || s == XKB_KEY_Mode_switch ||
         s == XKB_KEY_Num_Lock;
}

bool is_dead(xkb_keysym_t sym) { return sym >= XKB_KEY_dead_grave && sym <= XKB_KEY_dead_greek; }

struct StateDeleter {
  void operator()(xkb_state* s) const { xkb_state_unref(s); }
};
using StatePtr = std::unique_ptr<xkb_state, StateDeleter>;

bool down(const KeyStateArray& s, uint16_t code) { return (s[code] & kKeyDownBit) != 0; }

}  // namespace

std::array<std::string, 3> compose_locales(const char* lc_all, const char* lc_ctype,
                                           const char* lang) {
  std::string user;
  for (const char* v : {lc_all, lc_ctype, lang})
    if (v && *v) {
      user = v;
      break;
    }
  if (user.empty()) user = "C";
  return {user, "en_US.UTF-8", "C"};
}

X11Keyboard::X11Keyboard() {
  connection_ = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection_)) return;
  if (!xkb_x11_setup_xkb_extension(connection_, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                   XKB_X11_MIN_MINOR_XKB_VERSION, XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS,
                                   nullptr, nullptr, &xkb_event_base_, nullptr))
    return;
  device_ = xkb_x11_get_core_keyboard_device_id(connection_);
  context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  if (!context_ || device_ < 0) return;
  for (const std::string& locale :
       compose_locales(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"))) {
    compose_table_ =
        xkb_compose_table_new_from_locale(context_, locale.c_str(), XKB_COMPOSE_COMPILE_NO_FLAGS);
    if (compose_table_) break;
  }
  if (compose_table_) compose_ = xkb_compose_state_new(compose_table_, XKB_COMPOSE_STATE_NO_FLAGS);
  // Keymap changes come as the first two, lock and group changes as the third.
  const uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                          XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
  const uint16_t parts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                         XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_KEY_ACTIONS |
                         XCB_XKB_MAP_PART_VIRTUAL_MODS | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
  xcb_xkb_select_events(connection_, static_cast<xcb_xkb_device_spec_t>(device_), events, 0, events,
                        parts, parts, nullptr);
  xcb_flush(connection_);
  if (load_keymap()) {
    refresh_from_server();
    state_ = query_server_state();
  }
}

X11Keyboard::~X11Keyboard() {
  if (compose_) xkb_compose_state_unref(compose_);
  if (compose_table_) xkb_compose_table_unref(compose_table_);
  if (keymap_) xkb_keymap_unref(keymap_);
  if (context_) xkb_context_unref(context_);
  if (connection_) xcb_disconnect(connection_);
}

bool X11Keyboard::load_keymap() {
  xkb_keymap* fresh =
      xkb_x11_keymap_new_from_device(context_, connection_, device_, XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (!fresh) return false;
  if (keymap_) xkb_keymap_unref(keymap_);
  keymap_ = fresh;
  return true;
}

void X11Keyboard::reload_if_changed() {
  bool keymap_changed = false;
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
    const bool is_xkb = (event->response_type & 0x7F) == xkb_event_base_;
    // The XKB event kind sits where core events keep their detail byte.
    if (is_xkb && event->pad0 == XCB_XKB_STATE_NOTIFY) {
      const auto* notify = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(event);
      state_ = state_of(notify->group, notify->lockedMods);
    } else {
      keymap_changed = true;
    }
    free(event);
  }
  if (keymap_changed) {
    load_keymap();
    state_ = query_server_state();
  }
}

X11Keyboard::ServerState X11Keyboard::state_of(uint32_t group, uint32_t locked_mods) const {
  ServerState s;
  s.group = group;
  s.caps = (locked_mods & XCB_MOD_MASK_LOCK) != 0;
  const xkb_mod_index_t num = xkb_keymap_mod_get_index(keymap_, XKB_MOD_NAME_NUM);
  s.num = num != XKB_MOD_INVALID && (locked_mods & (1u << num)) != 0;
  return s;
}

X11Keyboard::ServerState X11Keyboard::server_state() { return state_; }

X11Keyboard::ServerState X11Keyboard::query_server_state() {
  ServerState s;
  auto cookie = xcb_xkb_get_state(connection_, static_cast<xcb_xkb_device_spec_t>(device_));
  xcb_xkb_get_state_reply_t* reply = xcb_xkb_get_state_reply(connection_, cookie, nullptr);
  if (!reply) return s;
  s = state_of(reply->group, reply->lockedMods);
  free(reply);
  return s;
}

void X11Keyboard::note_key(KeyCode keycode, bool is_down) {
  std::lock_guard held(mutex_);
  down_[keycode] = is_down;
}

void X11Keyboard::note_user_key(KeyCode keycode, bool is_down) {
  std::lock_guard held(mutex_);
  user_down_[keycode] = is_down;
}

bool X11Keyboard::user_holds(KeyCode keycode) {
  std::lock_guard held(mutex_);
  return user_down_[keycode];
}

void X11Keyboard::set_down_keys(const uint8_t* keys) {
  std::lock_guard held(mutex_);
  for (int code = 0; code < 256; ++code) down_[code] = (keys[code / 8] >> (code % 8)) & 1;
  user_down_ = down_;
}

void X11Keyboard::refresh_from_server() {
  auto cookie = xcb_query_keymap(connection_);
  xcb_query_keymap_reply_t* reply = xcb_query_keymap_reply(connection_, cookie, nullptr);
  if (!reply) return;
  set_down_keys(reply->keys);
  free(reply);
}

uint32_t X11Keyboard::base_keysym(KeyCode keycode, uint32_t group, bool num_lock) {
  const xkb_keysym_t* syms = nullptr;
  int n = xkb_keymap_key_get_syms_by_level(keymap_, keycode, group, 0, &syms);
  xkb_keysym_t sym = n > 0 ? syms[0] : XKB_KEY_NoSymbol;
  // A keypad key with Num Lock on reports its digit (its second level).
  if (num_lock && sym >= XKB_KEY_KP_Space && sym <= XKB_KEY_KP_Equal) {
    n = xkb_keymap_key_get_syms_by_level(keymap_, keycode, group, 1, &syms);
    if (n > 0 && syms[0] >= XKB_KEY_KP_Space && syms[0] <= XKB_KEY_KP_Equal) sym = syms[0];
  }
  return sym;
}

bool X11Keyboard::is_altgr_key(KeyCode keycode) {
  std::lock_guard held(mutex_);
  if (!keymap_) return false;
  const xkb_keysym_t* syms = nullptr;
  int n = xkb_keymap_key_get_syms_by_level(keymap_, keycode, 0, 0, &syms);
  return n > 0 && (syms[0] == XKB_KEY_ISO_Level3_Shift || syms[0] == XKB_KEY_Mode_switch);
}

KeyPosition X11Keyboard::key_of(KeyCode keycode) {
  std::lock_guard held(mutex_);
  KeyPosition key{keycode, 0, 0};
  if (!keymap_) return key;
  reload_if_changed();
  const ServerState server = server_state();
  key.vk = vk_for_key(keycode, base_keysym(keycode, server.group, server.num));
  if (std::optional<KeyPosition> place = position_of_keycode(keycode)) key.scan = place->scan;
  return key;
}

std::optional<KeyCode> X11Keyboard::keycode_in_group(uint16_t code, uint32_t group) {
  if (code >= 'A' && code <= 'Z') {
    const xkb_keycode_t lo = xkb_keymap_min_keycode(keymap_), hi = xkb_keymap_max_keycode(keymap_);
    for (xkb_keycode_t kc = lo; kc <= hi && kc < 256; ++kc) {
      if (vk_of_keysym(base_keysym(static_cast<KeyCode>(kc), group, false)) == code &&
          position_of_keycode(static_cast<KeyCode>(kc)))
        return static_cast<KeyCode>(kc);
    }
  }
  if (std::optional<KeyPosition> place = position_of_vk(code)) return place->keycode;
  return std::nullopt;
}

std::optional<KeyCode> X11Keyboard::keycode_for_vk(uint16_t code) {
  std::lock_guard held(mutex_);
  if (!keymap_) return position_of_vk(code) ? std::optional(position_of_vk(code)->keycode) : std::nullopt;
  reload_if_changed();
  return keycode_in_group(code, server_state().group);
}

KeyStateArray X11Keyboard::build_state(const ServerState& server) {
  KeyStateArray s{};
  for (int kc = 8; kc < 256; ++kc) {
    if (!down_[kc]) continue;
    const uint16_t code = vk_for_key(static_cast<KeyCode>(kc), base_keysym(static_cast<KeyCode>(kc), server.group, server.num));
    if (code == 0 || code > 0xFF) continue;
    s[code] |= kKeyDownBit;
    if (vk::is_shift(code)) s[vk::Shift] |= kKeyDownBit;
    if (vk::is_control(code)) s[vk::Control] |= kKeyDownBit;
    if (vk::is_alt(code)) s[vk::Menu] |= kKeyDownBit;
    if (code == vk::RMenu) {
      const xkb_keysym_t* syms = nullptr;
      if (xkb_keymap_key_get_syms_by_level(keymap_, kc, server.group, 0, &syms) > 0 &&
          syms[0] == XKB_KEY_ISO_Level3_Shift) {
        // AltGr is Ctrl+Alt to Windows programs.
        s[vk::LControl] |= kKeyDownBit;
        s[vk::Control] |= kKeyDownBit;
      }
    }
  }
  if (server.caps) s[vk::Capital] |= kKeyToggledBit;
  if (server.num) s[vk::NumLock] |= kKeyToggledBit;
  return s;
}

std::optional<KeyStateArray> X11Keyboard::keyboard_state() {
  std::lock_guard held(mutex_);
  if (!keymap_) return std::nullopt;
  reload_if_changed();
  return build_state(server_state());
}

uint8_t X11Keyboard::key_state(uint16_t code) {
  std::optional<KeyStateArray> s = keyboard_state();
  return s && code < 256 ? (*s)[code] : 0;
}

bool X11Keyboard::async_down(uint16_t code) { return (key_state(code) & kKeyDownBit) != 0; }

LayoutId X11Keyboard::layout_of(WindowId) {
  std::lock_guard held(mutex_);
  if (!keymap_) return 0;
  reload_if_changed();
  return server_state().group;
}

std::u16string X11Keyboard::spacing_of_dead(uint32_t dead) {
  std::u16string out;
  // What the dead key followed by Space makes is the character the key stands for.
  if (compose_table_) {
    xkb_compose_state* probe = xkb_compose_state_new(compose_table_, XKB_COMPOSE_STATE_NO_FLAGS);
    xkb_compose_state_feed(probe, dead);
    xkb_compose_state_feed(probe, XKB_KEY_space);
    if (xkb_compose_state_get_status(probe) == XKB_COMPOSE_COMPOSED) {
      xkb_keysym_t sym = xkb_compose_state_get_one_sym(probe);
      if (uint32_t cp = xkb_keysym_to_utf32(sym)) utf16_append(out, cp);
    }
    xkb_compose_state_unref(probe);
  }
  return out;
}

bool X11Keyboard::has_altgr_level(KeyCode keycode, uint32_t depressed, uint32_t locked,
                                   uint32_t group) {
  StatePtr with(xkb_state_new(keymap_));
  StatePtr without(xkb_state_new(keymap_));
  if (!with || !without) return false;
  xkb_mod_index_t mod5 = xkb_keymap_mod_get_index(keymap_, "Mod5");
  const xkb_mod_mask_t altgr = mod5 == XKB_MOD_INVALID ? 0 : (1u << mod5);
  xkb_state_update_mask(with.get(), depressed | altgr, 0, locked, 0, 0, group);
  xkb_state_update_mask(without.get(), depressed & ~altgr, 0, locked, 0, 0, group);
  return xkb_state_key_get_level(with.get(), keycode, group) !=
         xkb_state_key_get_level(without.get(), keycode, group);
}

int X11Keyboard::to_unicode(uint16_t code, uint16_t scan, const KeyStateArray& state,
                            std::u16string& out, LayoutId layout) {
  std::lock_guard held(mutex_);
  out.clear();
  if (!keymap_) return 0;
  reload_if_changed();
  std::optional<KeyCode> keycode;
  if (scan != 0) {
    if (std::optional<KeyPosition> place = position_of_scan(scan & 0xFF, (scan & kExtendedScan) != 0);
        place && (place->vk == code || vk_for_key(place->keycode, base_keysym(place->keycode, static_cast<uint32_t>(layout), false)) == code))
      keycode = place->keycode;
  }
  if (!keycode) keycode = keycode_in_group(code, static_cast<uint32_t>(layout));
  if (!keycode) return 0;

  const bool shift = down(state, vk::Shift) || down(state, vk::LShift) || down(state, vk::RShift);
  const bool ctrl = down(state, vk::Control) || down(state, vk::LControl) || down(state, vk::RControl);
  const bool alt = down(state, vk::Menu) || down(state, vk::LMenu) || down(state, vk::RMenu);
  const bool altgr = (ctrl && alt) || down(state, vk::RMenu);
  xkb_mod_mask_t depressed = 0, locked = 0;
  auto bit = [&](const char* name) -> xkb_mod_mask_t {
    xkb_mod_index_t i = xkb_keymap_mod_get_index(keymap_, name);
    return i == XKB_MOD_INVALID ? 0 : (1u << i);
  };
  if (shift) depressed |= bit(XKB_MOD_NAME_SHIFT);
  if (altgr) depressed |= bit("Mod5");
  else if (ctrl) depressed |= bit(XKB_MOD_NAME_CTRL);
  else if (alt) depressed |= bit(XKB_MOD_NAME_ALT);
  if (state[vk::Capital] & kKeyToggledBit) locked |= bit(XKB_MOD_NAME_CAPS);
  if (state[vk::NumLock] & kKeyToggledBit) locked |= bit(XKB_MOD_NAME_NUM);
  StatePtr xs(xkb_state_new(keymap_));
  if (!xs) return 0;
  const auto group = static_cast<xkb_layout_index_t>(layout);
  xkb_state_update_mask(xs.get(), depressed, 0, locked, 0, 0, group);
  if (ctrl && alt && !has_altgr_level(*keycode, depressed, locked, group)) {
    // Windows reads Ctrl+Alt as AltGr: a key without an AltGr character types nothing
    // (a Ctrl+Alt shortcut), where xkb would give its plain character.
    return 0;
  }
  const xkb_keysym_t sym = xkb_state_key_get_one_sym(xs.get(), *keycode);
  if (sym == XKB_KEY_NoSymbol) return 0;
  const uint32_t cp = xkb_state_key_get_utf32(xs.get(), *keycode);

  if (compose_ && !is_modifier_keysym(sym)) {
    const uint32_t pending = pending_dead_;
    xkb_compose_state_feed(compose_, sym);
    switch (xkb_compose_state_get_status(compose_)) {
      case XKB_COMPOSE_COMPOSING:
        if (is_dead(sym)) {
          pending_dead_ = sym;
          out = spacing_of_dead(sym);
          return -1;
        }
        break;  // a Compose-key sequence: not a dead key to Windows programs
      case XKB_COMPOSE_COMPOSED: {
        pending_dead_ = 0;
        xkb_keysym_t made = xkb_compose_state_get_one_sym(compose_);
        xkb_compose_state_reset(compose_);
        if (uint32_t c = xkb_keysym_to_utf32(made)) {
          utf16_append(out, c);
          return static_cast<int>(out.size());
        }
        return 0;
      }
      case XKB_COMPOSE_CANCELLED:
        xkb_compose_state_reset(compose_);
        pending_dead_ = 0;
        if (pending) out = spacing_of_dead(pending);
        if (is_dead(sym)) {  // a second dead key that does not combine starts anew
          xkb_compose_state_feed(compose_, sym);
          pending_dead_ = sym;
        }
        break;
      case XKB_COMPOSE_NOTHING:
        break;
    }
  }
  if (is_dead(sym)) return out.empty() ? 0 : static_cast<int>(out.size());
  if (cp != 0) utf16_append(out, cp);
  return static_cast<int>(out.size());
}

int16_t X11Keyboard::vk_key_scan(char16_t ch, LayoutId layout) {
  std::lock_guard held(mutex_);
  if (!keymap_) return -1;
  reload_if_changed();
  switch (ch) {  // the control characters that have keys of their own
    case u'\t': return vk::Tab;
    case u'\r': return vk::Return;
    case u'\n': return static_cast<int16_t>((kScanCtrl << 8) | vk::Return);
    case u'\b': return vk::Back;
    case 0x1B: return vk::Escape;
    default: break;
  }
  const xkb_keysym_t wanted = xkb_utf32_to_keysym(ch);
  if (wanted == XKB_KEY_NoSymbol) return -1;
  const auto group = static_cast<xkb_layout_index_t>(layout);
  const xkb_mod_mask_t shift = 1u << xkb_keymap_mod_get_index(keymap_, XKB_MOD_NAME_SHIFT);
  const xkb_mod_index_t l3 = xkb_keymap_mod_get_index(keymap_, "Mod5");
  const xkb_mod_mask_t level3 = l3 == XKB_MOD_INVALID ? 0 : (1u << l3);
  int best = -1, best_cost = 99;
  const xkb_keycode_t lo = xkb_keymap_min_keycode(keymap_), hi = xkb_keymap_max_keycode(keymap_);
  for (xkb_keycode_t kc = lo; kc <= hi && kc < 256; ++kc) {
    const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap_, kc, group);
    for (xkb_level_index_t level = 0; level < levels; ++level) {
      const xkb_keysym_t* syms = nullptr;
      if (xkb_keymap_key_get_syms_by_level(keymap_, kc, group, level, &syms) != 1 || syms[0] != wanted)
        continue;
      xkb_mod_mask_t masks[16];
      const size_t n = xkb_keymap_key_get_mods_for_level(keymap_, kc, group, level, masks, 16);
      for (size_t i = 0; i < n; ++i) {
        if (masks[i] & ~(shift | level3)) continue;  // needs a lock or another modifier
        int mods = 0, cost = 0;
        if (masks[i] & shift) mods |= kScanShift, cost += 1;
        if (masks[i] & level3) mods |= kScanCtrl | kScanAlt, cost += 2;
        const uint16_t code = vk_for_key(static_cast<KeyCode>(kc), base_keysym(static_cast<KeyCode>(kc), group, false));
        if (code == 0 || code > 0xFF || cost >= best_cost) continue;
        best_cost = cost;
        best = (mods << 8) | code;
      }
    }
  }
  return static_cast<int16_t>(best);
}

uint32_t X11Keyboard::map_virtual_key(uint32_t code, MapType type, LayoutId layout) {
  auto generic = [](uint16_t v) -> uint16_t {
    if (vk::is_shift(v)) return vk::Shift;
    if (vk::is_control(v)) return vk::Control;
    if (vk::is_alt(v)) return vk::Menu;
    return v;
  };
  switch (type) {
    case MapType::VkToScan:
    case MapType::VkToScanEx: {
      std::optional<KeyPosition> place;
      if (code >= 'A' && code <= 'Z') {
        std::lock_guard held(mutex_);
        if (keymap_)
          if (std::optional<KeyCode> kc = keycode_in_group(static_cast<uint16_t>(code), static_cast<uint32_t>(layout)))
            place = position_of_keycode(*kc);
      }
      if (!place) place = position_of_vk(static_cast<uint16_t>(code));
      if (!place) return 0;
      return type == MapType::VkToScan ? (place->scan & 0xFF) : place->scan;
    }
    case MapType::ScanToVk:
    case MapType::ScanToVkEx: {
      std::optional<KeyPosition> place =
          position_of_scan(static_cast<uint16_t>(code & 0xFF), (code & kExtendedScan) != 0);
      if (!place) return 0;
      const KeyPosition key = key_of(place->keycode);
      return type == MapType::ScanToVk ? generic(key.vk) : key.vk;
    }
    case MapType::VkToChar: {
      std::lock_guard held(mutex_);
      if (!keymap_) return 0;
      std::optional<KeyCode> kc = keycode_in_group(static_cast<uint16_t>(code), static_cast<uint32_t>(layout));
      if (!kc) return 0;
      const uint32_t sym = base_keysym(*kc, static_cast<uint32_t>(layout), false);
      if (is_dead(sym)) {
        std::u16string spacing = spacing_of_dead(sym);
        return spacing.empty() ? 0x80000000u : (0x80000000u | utf16_char_at(spacing, 0));
      }
      uint32_t cp = xkb_keysym_to_utf32(sym);
      if (cp >= 'a' && cp <= 'z') cp -= 'a' - 'A';
      return cp < 0x20 ? 0 : cp;
    }
  }
  return 0;
}

}  // namespace tolvan::x11
