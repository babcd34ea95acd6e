// The keyboard grabbed by another X client, as the desktop holds it while a global hotkey's
// keys are down. Kept apart because Xlib's macros clash with gtkmm's and GoogleTest's names.
#pragma once

#include <memory>

namespace tolvan::ui::testing {

class KeyboardHeldElsewhere {
 public:
  // Grabs at once; held() says whether that worked.
  KeyboardHeldElsewhere();
  ~KeyboardHeldElsewhere();
  KeyboardHeldElsewhere(const KeyboardHeldElsewhere&) = delete;
  KeyboardHeldElsewhere& operator=(const KeyboardHeldElsewhere&) = delete;

  bool held() const { return held_; }
  void release();

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
  bool held_ = false;
};

}  // namespace tolvan::ui::testing
