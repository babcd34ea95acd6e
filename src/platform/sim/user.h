// The simulated user: types text on the focused window's layout the way a person does
// (Shift or AltGr for the characters that need them, a dead key and then the base key for a
// composed character), presses single keys, clicks and waits.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "platform/sim/desktop.h"

namespace tolvan::sim {

// One key the user presses, with the modifiers held around it.
struct UserKey {
  uint16_t vk = 0;
  bool shift = false;
  bool altgr = false;
  bool ctrl = false;
  bool operator==(const UserKey&) const = default;
};

// The keys that type one character on a layout with Caps Lock off: a key of its own
// (plain or shifted), else a dead key and a base key that compose it, else an AltGr key.
// A character that only a dead key makes is that key followed by Space. Line feed is Enter.
Result<std::vector<UserKey>> keys_for_char(const Layout& layout, char32_t ch);

class User {
 public:
  explicit User(Desktop& desktop) : desktop_(desktop) {}

  // Types every character of `utf8`; stops with a message at the first character the
  // layout cannot type (nothing of it is typed).
  Status type(std::string_view utf8);
  void press(uint16_t vk) { key_event(vk, true); }
  void release(uint16_t vk) { key_event(vk, false); }
  void tap(uint16_t vk) {
    press(vk);
    release(vk);
  }
  void click(MouseButton button = MouseButton::Left) { desktop_.user_click(button); }
  // Lets virtual time pass.
  void wait(uint64_t ms) { desktop_.clock().advance(ms); }
  // Runs before each key event the user sends. A person's keys come far apart next to the
  // programs' own input; a simulation waits here for them to finish, so that no key of the
  // user races with their output.
  void set_before_key(std::function<void()> step) { before_key_ = std::move(step); }

 private:
  void key_event(uint16_t vk, bool down);
  void type_key(const UserKey& key);

  Desktop& desktop_;
  std::function<void()> before_key_;
};

}  // namespace tolvan::sim
