// Virtual time for the simulated desktop: sleeping moves the clock forward at once, so the
// fixed waits of the output path cost nothing in tests, yet every wait is accounted for.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace tolvan::sim {

class VirtualClock final : public Clock {
 public:
  uint64_t now_ms() override { return now_.load(); }
  // Advances the clock by ms and gives other threads a moment (a very short real sleep), so
  // that a thread polling in a sleep loop does not starve the others. First runs the
  // before-sleep step, if any.
  void sleep_ms(uint32_t ms) override;
  // What must happen before virtual time may pass for a sleeper (the desktop handles the
  // input already sent, which takes no virtual time). Set once, before any thread sleeps.
  void set_before_sleep(std::function<void()> step) { before_sleep_ = std::move(step); }
  // Time passing without anyone sleeping (the user waiting).
  void advance(uint64_t ms) { now_ += ms; }
  // The sum of every sleep_ms.
  uint64_t total_slept_ms() const { return slept_.load(); }

 private:
  std::function<void()> before_sleep_;
  std::atomic<uint64_t> now_{0};
  std::atomic<uint64_t> slept_{0};
};

}  // namespace tolvan::sim
