// The two ways a desktop treats a key that Tolvan swallows, as the parameter of the suites
// that depend on it: the key still reaches the application and Tolvan makes up for it (X11,
// the desktop Tolvan ships for), or the desktop keeps it out (Windows). Such a suite is a
// TEST_P suite whose parameter is "can swallow", run in both modes.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace tolvan::testing {

inline std::string swallow_mode_name(const ::testing::TestParamInfo<bool>& can_swallow) {
  return can_swallow.param ? "Swallowing" : "TypingThrough";
}

}  // namespace tolvan::testing

// Runs the TEST_P suite `Suite` in both modes, the mode Tolvan ships in first.
#define RUN_IN_BOTH_SWALLOW_MODES(Suite) \
  INSTANTIATE_TEST_SUITE_P(, Suite, ::testing::Values(false, true), ::tolvan::testing::swallow_mode_name)
