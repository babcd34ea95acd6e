// Typing like a user on the simulated desktop.
#include "platform/sim/user.h"

#include <array>

#include "core/utf.h"
#include "platform/vk_codes.h"

namespace tolvan::sim {

namespace {

// The key that types `ch` directly at the given levels (plain and shifted, or AltGr).
std::optional<std::pair<UserKey, bool>> direct_key(const Layout& layout, char16_t ch, bool altgr) {
  const std::array<int, 2> levels =
      altgr ? std::array<int, 2>{kAltGr, kShiftAltGr} : std::array<int, 2>{kPlain, kShifted};
  for (const auto& def : layout.keys)
    for (int level : levels)
      if (def.chars[level] == ch) {
        UserKey key{def.vk, level == kShifted || level == kShiftAltGr, altgr, false};
        return std::make_pair(key, def.is_dead(level));
      }
  return std::nullopt;
}

std::string describe(char32_t ch) { return u32_to_utf8(std::u32string(1, ch)); }

}  // namespace

Result<std::vector<UserKey>> keys_for_char(const Layout& layout, char32_t ch) {
  switch (ch) {
    case U'\n':
    case U'\r': return std::vector<UserKey>{{vk::Return}};
    case U'\t': return std::vector<UserKey>{{vk::Tab}};
    case U' ': return std::vector<UserKey>{{vk::Space}};
    default: break;
  }
  const UserKey space{vk::Space};
  if (ch < 0x10000) {
    char16_t unit = static_cast<char16_t>(ch);
    if (auto found = direct_key(layout, unit, false)) {
      if (found->second) return std::vector<UserKey>{found->first, space};
      return std::vector<UserKey>{found->first};
    }
    for (const auto& c : layout.compositions) {
      if (c.result != unit || c.base == u' ') continue;
      auto dead = direct_key(layout, c.dead, false);
      if (!dead || !dead->second) dead = direct_key(layout, c.dead, true);
      auto base = direct_key(layout, c.base, false);
      if (dead && dead->second && base && !base->second)
        return std::vector<UserKey>{dead->first, base->first};
    }
    if (layout.has_altgr)
      if (auto found = direct_key(layout, unit, true)) {
        if (found->second) return std::vector<UserKey>{found->first, space};
        return std::vector<UserKey>{found->first};
      }
  }
  return Error{"The keyboard layout \"" + layout.name + "\" has no key for \"" + describe(ch) + "\"."};
}

Status User::type(std::string_view utf8) {
  const Layout* layout = layout_by_id(desktop_.layout_of(desktop_.foreground()));
  if (!layout) layout = &us_layout();
  if (!utf8_valid(utf8))
    return Error{"The text to type is not valid UTF-8."};
  std::vector<UserKey> keys;
  for (char32_t ch : utf8_to_u32(utf8)) {
    auto found = keys_for_char(*layout, ch);
    if (!found) return Error{found.error()};
    keys.insert(keys.end(), found->begin(), found->end());
  }
  for (const auto& key : keys) type_key(key);
  return Status::success();
}

void User::key_event(uint16_t vk, bool down) {
  if (before_key_) before_key_();
  desktop_.user_key(vk, down);
}

void User::type_key(const UserKey& key) {
  // Modifiers the user already holds stay as they are.
  bool press_shift = key.shift && !desktop_.user_holds(vk::LShift) && !desktop_.user_holds(vk::RShift);
  bool press_altgr = key.altgr && !desktop_.user_holds(vk::RMenu);
  bool press_ctrl = key.ctrl && !desktop_.user_holds(vk::LControl);
  if (press_ctrl) press(vk::LControl);
  if (press_altgr) press(vk::RMenu);
  if (press_shift) press(vk::LShift);
  tap(key.vk);
  if (press_shift) release(vk::LShift);
  if (press_altgr) release(vk::RMenu);
  if (press_ctrl) release(vk::LControl);
}

}  // namespace tolvan::sim
