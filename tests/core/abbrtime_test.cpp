// AbbrTime: the hexadecimal form of the abbreviation file and the display form.
#include <gtest/gtest.h>

#include "core/abbrtime.h"

namespace tolvan {
namespace {

TEST(AbbrTime, HexFormRoundTripsAndBadLengthsGiveNow) {
  AbbrTime t{3, 15, 2012, 14, 5, 9};
  EXPECT_EQ(abbr_time_to_hex_string(t), "030f07dc0e0509");
  EXPECT_EQ(abbr_time_str_to_abbrtime("030f07dc0e0509"), t);
  EXPECT_EQ(abbr_time_str_to_abbrtime("030F07DC0E0509"), t);
  EXPECT_EQ(abbr_time_to_compare_string(t), "20120315140509");

  AbbrTime before = abbr_time_now();
  AbbrTime got = abbr_time_str_to_abbrtime("030f07dc0e050");  // 13 characters
  AbbrTime after = abbr_time_now();
  EXPECT_TRUE(got == before || got == after);
  EXPECT_NE(got, t);
}

TEST(AbbrTime, DisplayUsesTheTwelveHourClock) {
  AbbrTime t{3, 15, 2012, 0, 5, 9};
  EXPECT_EQ(abbr_time_to_display_string(&t), "3/15/2012 12:05:09AM");
  t.hour = 12;
  EXPECT_EQ(abbr_time_to_display_string(&t), "3/15/2012 12:05:09PM");
  t.hour = 23;
  EXPECT_EQ(abbr_time_to_display_string(&t), "3/15/2012 11:05:09PM");
  t.hour = 9;
  EXPECT_EQ(abbr_time_to_display_string(&t), "3/15/2012 9:05:09AM");
  std::tm sys = abbr_time_to_systemtime(t);
  EXPECT_EQ(abbr_system_time_to_abbrtime(&sys), t);
}

}  // namespace
}  // namespace tolvan
