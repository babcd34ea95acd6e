#include "platform/x11/x11_injections.h"

namespace tolvan::x11 {

void InjectionLedger::sent(const InjectedKey& key) {
  std::lock_guard held(mutex_);
  if (pending_.size() >= kMaxPending) pending_.pop_front();
  pending_.push_back(key);
}

std::optional<InjectedKey> InjectionLedger::take(KeyCode keycode, bool down) {
  std::lock_guard held(mutex_);
  for (auto it = pending_.begin(); it != pending_.end(); ++it) {
    if (it->keycode == keycode && it->down == down) {
      InjectedKey key = *it;
      pending_.erase(it);
      return key;
    }
  }
  return std::nullopt;
}

bool InjectionLedger::empty() {
  std::lock_guard held(mutex_);
  return pending_.empty();
}

}  // namespace tolvan::x11
