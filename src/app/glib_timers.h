// MainLoopTimers on GLib's default main context: one-shot callbacks on the main thread,
// scheduled from any thread. Callbacks still pending when the timers go are dropped, so
// whatever they would have touched may go with them.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <set>

#include "engine/tooltip/tooltip.h"

namespace tolvan {

class GLibTimers final : public MainLoopTimers {
 public:
  GLibTimers();
  ~GLibTimers() override;
  GLibTimers(const GLibTimers&) = delete;
  GLibTimers& operator=(const GLibTimers&) = delete;

  void after(uint32_t ms, std::function<void()> callback) override;

 private:
  struct Pending;
  // Shared with the pending callbacks, which may run after this object is gone from
  // another thread's point of view; the mutex orders them with the destructor.
  struct Shared {
    std::mutex mutex;
    std::set<unsigned> sources;
    bool closed = false;
  };
  std::shared_ptr<Shared> shared_;
};

}  // namespace tolvan
