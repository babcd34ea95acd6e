// X11Hook: the keyboard hook on X. XInput2 raw key and button events on the root window,
// read by a thread and connection of its own, reach the callbacks one at a time on that
// thread. X only lets Tolvan watch, so nothing can be swallowed (can_swallow() is false);
// a key that must not arrive is grabbed with XGrabKey instead. Input a callback sends
// comes back after the callback has returned. Raw events carry no auto-repeat, so the hook
// repeats a held key's press itself at the server's repeat delay and rate, as Windows
// reports a held key.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <thread>
#include <mutex>
#include <set>

#include "platform/clock.h"
#include "platform/keyboard_hook.h"
#include "platform/x11/x11_event_thread.h"
#include "platform/x11/x11_injections.h"
#include "platform/x11/x11_keyboard.h"

namespace tolvan::x11 {

class X11Hook final : public KeyboardHook {
 public:
  X11Hook(X11Keyboard& keyboard, InjectionLedger& ledger, Clock& clock);
  ~X11Hook() override;
  // False when the display or XInput 2.2 is missing; why() says which.
  bool ok() const { return ok_; }
  const std::string& why() const { return why_; }

  Status install_keyboard(KeyCallback callback) override;
  Status uninstall_keyboard() override;
  Status install_mouse(MouseCallback callback) override;
  Status uninstall_mouse() override;
  bool can_swallow() const override { return false; }
  Status grab_key(uint16_t vk) override;
  void ungrab_key(uint16_t vk) override;
  // Waits, a bounded while, until the events Tolvan sent have come back through the hook.
  void flush() override;

 private:
  void handle(_XEvent& event);
  void on_raw_key(uint8_t keycode, int source, bool down, bool repeat = false);
  void repeat_held_keys();

  X11Keyboard& keyboard_;
  InjectionLedger& ledger_;
  Clock& clock_;
  XEventThread x_;
  bool ok_ = false;
  std::string why_;
  int xi_opcode_ = -1;
  int xtest_keyboard_ = -1;
  std::mutex callbacks_mutex_;
  std::shared_ptr<KeyCallback> key_callback_;
  std::shared_ptr<MouseCallback> mouse_callback_;
  std::set<uint8_t> grabbed_;

  // Auto-repeat: the key held last, and when its next press is due.
  std::mutex repeat_mutex_;
  std::condition_variable repeat_changed_;
  uint8_t held_ = 0;
  std::chrono::steady_clock::time_point next_repeat_;
  std::chrono::milliseconds repeat_delay_{660}, repeat_interval_{40};
  std::array<bool, 256> repeats_{};  // keys the server auto-repeats
  bool stopping_ = false;
  std::thread repeater_;
};

}  // namespace tolvan::x11
