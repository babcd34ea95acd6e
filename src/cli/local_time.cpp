// Reading local times from the command line.
#include "cli/local_time.h"

#include <algorithm>

namespace tolvan::cli {
namespace {

// The value of the `count` digits at `from`, or -1 when one of them is no digit.
int field(std::string_view text, size_t from, size_t count) {
  std::string_view digits = text.substr(from, count);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return -1;
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

std::optional<std::time_t> parse_local_time(std::string_view text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
      text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  const int fields[] = {field(text, 0, 4),  field(text, 5, 2),  field(text, 8, 2),
                        field(text, 11, 2), field(text, 14, 2), field(text, 17, 2)};
  if (std::find(std::begin(fields), std::end(fields), -1) != std::end(fields)) return std::nullopt;
  std::tm tm{};
  tm.tm_year = fields[0] - 1900;
  tm.tm_mon = fields[1] - 1;
  tm.tm_mday = fields[2];
  tm.tm_hour = fields[3];
  tm.tm_min = fields[4];
  tm.tm_sec = fields[5];
  tm.tm_isdst = -1;
  // mktime carries an impossible field over into the next one; such a time does not exist.
  std::tm normalised = tm;
  const std::time_t t = std::mktime(&normalised);
  if (t == static_cast<std::time_t>(-1) || normalised.tm_year != tm.tm_year ||
      normalised.tm_mon != tm.tm_mon || normalised.tm_mday != tm.tm_mday ||
      normalised.tm_hour != tm.tm_hour || normalised.tm_min != tm.tm_min ||
      normalised.tm_sec != tm.tm_sec) {
    return std::nullopt;
  }
  return t;
}

}  // namespace tolvan::cli
