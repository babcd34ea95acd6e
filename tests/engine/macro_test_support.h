// Fixed clock, time zone and locale for the macro tests: dates are computed in UTC with
// English names unless a test asks for another locale.
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

#include "engine/macros/macro_environment.h"

namespace tolvan::testing {

class MacroTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    std::setlocale(LC_ALL, "C");
  }

  // Local time (UTC here) as a time_t.
  static std::time_t at(int year, int month, int day, int hour = 12, int minute = 0,
                        int second = 0) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
  }

  static MacroEnvironment clock_at(std::time_t t) {
    MacroEnvironment env;
    env.now = [t] { return t; };
    return env;
  }
};

}  // namespace tolvan::testing
