// ActiveWindow: the window manager's _NET_ACTIVE_WINDOW, followed through its property
// changes on the root window, so asking for the active window costs no round trip to the
// server (the output thread asks before every character it types).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/x11/x11_event_thread.h"

namespace tolvan::x11 {

class ActiveWindow {
 public:
  // `changed` runs on the watching thread after each change the window manager announces.
  explicit ActiveWindow(std::function<void()> changed = {});
  ~ActiveWindow();
  ActiveWindow(const ActiveWindow&) = delete;
  ActiveWindow& operator=(const ActiveWindow&) = delete;

  // The active window as the window manager last announced it; nullopt when the window
  // manager announces none (callers then ask for the input focus).
  std::optional<uint64_t> current() const;

 private:
  void read();

  std::function<void()> changed_;
  XEventThread x_;
  unsigned long atom_ = 0;
  std::atomic<bool> announced_{false};
  std::atomic<uint64_t> window_{0};
};

}  // namespace tolvan::x11
