// AbbrTime: Tolvan's date-and-time record for the creation and modification times of
// abbreviations (and the times of backups), with its string forms. Local time, no
// milliseconds, weekday or time zone.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace tolvan {

struct AbbrTime {
  uint8_t month = 1;  // 1 to 12
  uint8_t day = 1;    // 1 to 31
  uint16_t year = 1970;
  uint8_t hour = 0;  // 0 to 23
  uint8_t minute = 0;
  uint8_t second = 0;

  friend bool operator==(const AbbrTime&, const AbbrTime&) = default;
};

// The fields of a broken-down local time; nullptr means now.
AbbrTime abbr_system_time_to_abbrtime(const std::tm* time);
AbbrTime abbr_time_now();
// A file-system time stamp as local time.
AbbrTime abbr_time_from_unix(std::time_t t);

// The current local time with the six fields of `t` put in.
std::tm abbr_time_to_systemtime(const AbbrTime& t);

// 14 lower-case hexadecimal digits: month, day, four-digit year, hour, minute, second
// (the form of the abbreviation file's x and y attributes).
std::string abbr_time_to_hex_string(const AbbrTime& t);
// The inverse; a string that is not 14 bytes long gives the current local time. The groups
// are read as hexadecimal without further checks.
AbbrTime abbr_time_str_to_abbrtime(std::string_view s);

// "%.4d%.2d%.2d%.2d%.2d%.2d": a decimal string that sorts chronologically.
std::string abbr_time_to_compare_string(const AbbrTime& t);

// "3/15/2012 2:05:09PM": month/day/year, 12-hour clock, no space before AM/PM.
// nullptr means now.
std::string abbr_time_to_display_string(const AbbrTime* t);

}  // namespace tolvan
