// Clock: time and waiting for the engine, so that the fixed waits of the output path can run
// on virtual time in tests. SteadyClock is the real one.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

namespace tolvan {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start, never going backwards.
  virtual uint64_t now_ms() = 0;
  virtual void sleep_ms(uint32_t ms) = 0;
};

class SteadyClock final : public Clock {
 public:
  uint64_t now_ms() override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
  void sleep_ms(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace tolvan
