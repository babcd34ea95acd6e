// Turning GLib's default main context in a test until something has happened.
#pragma once

#include <glib.h>

#include <chrono>
#include <thread>

namespace tolvan::testing {

// Turns the default main context until `done` answers true (true) or about five seconds
// have passed (false).
template <class Done>
bool iterate_until(Done done) {
  using namespace std::chrono_literals;
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    g_main_context_iteration(nullptr, FALSE);
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

}  // namespace tolvan::testing
