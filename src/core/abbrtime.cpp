// AbbrTime conversions and string forms.
#include "core/abbrtime.h"

#include <cstdio>

namespace tolvan {
namespace {

unsigned read_hex(std::string_view digits) {
  unsigned value = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else break;  // like sscanf's %x: reading stops at the first non-digit
    value = value * 16 + static_cast<unsigned>(d);
  }
  return value;
}

std::string printf_string(const char* format, auto... args) {
  char buf[64];
  int n = std::snprintf(buf, sizeof buf, format, args...);
  return std::string(buf, n < 0 ? 0 : static_cast<size_t>(n));
}

}  // namespace

AbbrTime abbr_system_time_to_abbrtime(const std::tm* time) {
  std::tm now{};
  if (time == nullptr) {
    std::time_t t = std::time(nullptr);
    localtime_r(&t, &now);
    time = &now;
  }
  AbbrTime out;
  out.month = static_cast<uint8_t>(time->tm_mon + 1);
  out.day = static_cast<uint8_t>(time->tm_mday);
  out.year = static_cast<uint16_t>(time->tm_year + 1900);
  out.hour = static_cast<uint8_t>(time->tm_hour);
  out.minute = static_cast<uint8_t>(time->tm_min);
  out.second = static_cast<uint8_t>(time->tm_sec);
  return out;
}

AbbrTime abbr_time_now() { return abbr_system_time_to_abbrtime(nullptr); }

AbbrTime abbr_time_from_unix(std::time_t t) {
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return abbr_time_now();
  return abbr_system_time_to_abbrtime(&local);
}

std::tm abbr_time_to_systemtime(const AbbrTime& t) {
  std::time_t now = std::time(nullptr);
  std::tm out{};
  localtime_r(&now, &out);
  out.tm_mon = t.month - 1;
  out.tm_mday = t.day;
  out.tm_year = t.year - 1900;
  out.tm_hour = t.hour;
  out.tm_min = t.minute;
  out.tm_sec = t.second;
  return out;
}

std::string abbr_time_to_hex_string(const AbbrTime& t) {
  return printf_string("%.2x%.2x%.4x%.2x%.2x%.2x", unsigned{t.month}, unsigned{t.day},
                       unsigned{t.year}, unsigned{t.hour}, unsigned{t.minute},
                       unsigned{t.second});
}

AbbrTime abbr_time_str_to_abbrtime(std::string_view s) {
  if (s.size() != 14) return abbr_time_now();
  AbbrTime t;
  t.month = static_cast<uint8_t>(read_hex(s.substr(0, 2)));
  t.day = static_cast<uint8_t>(read_hex(s.substr(2, 2)));
  t.year = static_cast<uint16_t>(read_hex(s.substr(4, 4)));
  t.hour = static_cast<uint8_t>(read_hex(s.substr(8, 2)));
  t.minute = static_cast<uint8_t>(read_hex(s.substr(10, 2)));
  t.second = static_cast<uint8_t>(read_hex(s.substr(12, 2)));
  return t;
}

std::string abbr_time_to_compare_string(const AbbrTime& t) {
  return printf_string("%.4d%.2d%.2d%.2d%.2d%.2d", int{t.year}, int{t.month}, int{t.day},
                       int{t.hour}, int{t.minute}, int{t.second});
}

std::string abbr_time_to_display_string(const AbbrTime* t) {
  AbbrTime now;
  if (t == nullptr) {
    now = abbr_time_now();
    t = &now;
  }
  int hour12 = t->hour % 12 == 0 ? 12 : t->hour % 12;
  return printf_string("%d/%d/%d %d:%.2d:%.2d%s", int{t->month}, int{t->day}, int{t->year},
                       hour12, int{t->minute}, int{t->second}, t->hour >= 12 ? "PM" : "AM");
}

}  // namespace tolvan
