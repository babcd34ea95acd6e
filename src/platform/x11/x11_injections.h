// InjectionLedger: the key events Tolvan itself sent through XTest, in order, until the
// keyboard hook sees them come back. XTest input from other programs (xdotool, on-screen
// keyboards) comes from the same device, so only the ledger tells Tolvan's own apart; it
// also keeps what the event stood for (a Unicode character typed on a spare key).
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/x11/x11_keys.h"

namespace tolvan::x11 {

struct InjectedKey {
  KeyCode keycode = 0;
  bool down = true;
  uint16_t vk = 0;
  uint16_t scan = 0;  // the UTF-16 unit for vk::Packet
  bool extended = false;
};

class InjectionLedger {
 public:
  void sent(const InjectedKey& key);
  // The oldest sent event of this key and direction, taken off the ledger.
  std::optional<InjectedKey> take(KeyCode keycode, bool down);
  // Every event sent has come back through the hook.
  bool empty();

 private:
  static constexpr size_t kMaxPending = 4096;  // events the server dropped never come back
  std::mutex mutex_;
  std::deque<InjectedKey> pending_;
};

}  // namespace tolvan::x11
