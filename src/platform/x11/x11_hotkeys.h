// X11Hotkeys: global hotkeys as passive key grabs on the root window, one for every
// Caps Lock / Num Lock combination so that a lock does not hide the hotkey. Each press
// reaches the handler once (auto-repeat does not repeat it), on the program's main loop
// (GLib's default main context), posted there from the hotkeys' own X thread.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>

#include "platform/hotkeys.h"
#include "platform/x11/x11_event_thread.h"
#include "platform/x11/x11_keyboard.h"

namespace tolvan::x11 {

// The X modifier mask of MOD_ bits (Win is Super, Mod4).
unsigned x_modifiers_of(uint32_t mod_bits);

class X11Hotkeys final : public Hotkeys {
 public:
  explicit X11Hotkeys(X11Keyboard& keyboard);
  ~X11Hotkeys() override;
  bool ok() const { return x_.ok(); }

  void set_handler(Handler handler) override;
  bool register_hotkey(int id, uint32_t modifiers, uint16_t vk) override;
  void unregister_hotkey(int id) override;

 private:
  struct Grab {
    uint8_t keycode = 0;
    unsigned modifiers = 0;
    bool down = false;  // pressed and not yet released: repeats are not presses
  };
  void handle(_XEvent& event);
  void ungrab(const Grab& grab);

  X11Keyboard& keyboard_;
  XEventThread x_;
  std::mutex handler_mutex_;
  Handler handler_;
  std::map<int, Grab> grabs_;
  unsigned num_lock_ = 0;
};

}  // namespace tolvan::x11
