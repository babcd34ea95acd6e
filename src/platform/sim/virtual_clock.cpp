// Virtual time.
#include "platform/sim/virtual_clock.h"

#include <chrono>
#include <thread>

namespace tolvan::sim {

void VirtualClock::sleep_ms(uint32_t ms) {
  if (before_sleep_) before_sleep_();
  now_ += ms;
  slept_ += ms;
  std::this_thread::sleep_for(std::chrono::microseconds(20));
}

}  // namespace tolvan::sim
