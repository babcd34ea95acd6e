// Date and time insertion macros and date arithmetic.
#include "engine/macros/date_time.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cwchar>

#include "core/strings.h"
#include "core/utf.h"
#include "engine/macros/syntax.h"

namespace tolvan {
namespace {

constexpr DateTimeMacro kSeparatorDate{kMacroMenuSeparator, "", "", 0};
constexpr DateTimeMacro kSeparatorTime{kMacroMenuSeparator, "", "", 1};

constexpr std::array<DateTimeMacro, 30> kDateTimeMacros = {{
    {"%(WeekdayName)", "%A", "_Weekday name (Sunday, Monday...)", 0},
    {"%(WeekdayNameShort)", "%a", "Abbreviated w_eekday name (Sun, Mon...)", 0},
    kSeparatorDate,
    {"%(MonthName)", "%B", "_Month name (January, February...)", 0},
    {"%(MonthNameShort)", "%b", "Abbreviated m_onth name (Jan, Feb...)", 0},
    kSeparatorDate,
    {"%(Month)", "%m", "Mont_h number (01, 02, ...)", 0},
    {"%(#Month)", "%#m", "Month n_umber, no leading zeroes (1, 2...)", 0},
    kSeparatorDate,
    {"%(Day)", "%d", "_Day of the month (01, 02, ...)", 0},
    {"%(#Day)", "%#d", "D_ay of the month, no leading zeroes (1, 2, ...)", 0},
    kSeparatorDate,
    {"%(Year)", "%Y", "_Year (2008, 2009)", 0},
    {"%(YearShort)", "%y", "Year, no _century (08, 09)", 0},
    kSeparatorDate,
    {"%(#DayOfYear)", "%#j", "Day of _the year (361, 362)", 0},
    {"%(#WeekOfYear)", "%#U", "Wee_k of the year (48, 49)", 0},
    {"%(Hour)", "%I", "_Hour", 1},
    {"%(#Hour)", "%#I", "Hour, _no leading zeroes", 1},
    kSeparatorTime,
    {"%(Hour24)", "%H", "Hour, _24-hour format", 1},
    {"%(#Hour24)", "%#H", "Hour, 2_4-hour format, no leading zeroes", 1},
    kSeparatorTime,
    {"%(Minute)", "%M", "_Minute", 1},
    {"%(#Minute)", "%#M", "M_inute, no leading zeroes", 1},
    kSeparatorTime,
    {"%(Second)", "%S", "_Second", 1},
    {"%(#Second)", "%#S", "S_econd, no leading zeroes", 1},
    kSeparatorTime,
    {"%(AMorPM)", "%p", "AM/PM indicato_r (AM, PM)", 1},
}};

constexpr std::string_view kAmOrPm = "%(AMorPM)";

// The pending shifts, in adjust_tm's order.
enum Unit { kYears, kMonths, kDays, kHours, kMinutes, kSeconds, kUnitCount };
constexpr std::array<std::string_view, kUnitCount> kUnitWords = {"Years",   "Months",
                                                                 "Days",    "Hours",
                                                                 "Minutes", "Seconds"};

// Amounts beyond this cannot be a real date anyway; capping keeps the sums in range.
constexpr long long kAmountCap = 1'000'000'000'000LL;

struct ArithmeticMacro {
  size_t length;
  Unit unit;
  long long amount;  // negative for Sub and Subtract
};

bool parse_arithmetic_macro(std::string_view text, size_t pos, ArithmeticMacro& out) {
  if (!macro_has_prefix_at(text, pos, "%(")) return false;
  size_t p = pos + 2;
  long long sign;
  if (macro_has_prefix_at(text, p, "Add")) {
    sign = 1;
    p += 3;
  } else if (macro_has_prefix_at(text, p, "Sub")) {
    sign = -1;
    p += 3;
    if (macro_has_prefix_at(text, p, "tract")) p += 5;
  } else {
    return false;
  }
  int unit = 0;
  while (unit < kUnitCount && !macro_has_prefix_at(text, p, kUnitWords[unit])) ++unit;
  if (unit == kUnitCount) return false;
  p += kUnitWords[unit].size();
  while (p < text.size() && macro_is_space(text[p])) ++p;
  size_t digits_start = p;
  long long amount = 0;
  for (; p < text.size() && macro_is_digit(text[p]); ++p) {
    amount = std::min(kAmountCap, amount * 10 + (text[p] - '0'));
  }
  if (p == digits_start || p >= text.size() || text[p] != ')') return false;
  out = {p + 1 - pos, static_cast<Unit>(unit), sign * amount};
  return true;
}

std::tm local_time(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

bool fits_int(long long v) { return v >= INT_MIN && v <= INT_MAX; }

std::string am_pm_fallback(const std::tm& tm) { return tm.tm_hour < 12 ? "AM" : "PM"; }

}  // namespace

std::span<const DateTimeMacro> date_time_macros() { return kDateTimeMacros; }

void adjust_tm(std::tm& tm, long long years, long long months, long long days, long long hours,
               long long minutes, long long seconds) {
  const long long fields[] = {tm.tm_year + years, tm.tm_mon + months,  tm.tm_mday + days,
                              tm.tm_hour + hours, tm.tm_min + minutes, tm.tm_sec + seconds};
  for (long long f : fields) {
    if (!fits_int(f)) return;
  }
  std::tm shifted = tm;
  shifted.tm_year = static_cast<int>(fields[0]);
  shifted.tm_mon = static_cast<int>(fields[1]);
  shifted.tm_mday = static_cast<int>(fields[2]);
  shifted.tm_hour = static_cast<int>(fields[3]);
  shifted.tm_min = static_cast<int>(fields[4]);
  shifted.tm_sec = static_cast<int>(fields[5]);
  shifted.tm_isdst = -1;
  if (std::mktime(&shifted) == static_cast<std::time_t>(-1)) return;
  tm = shifted;
}

std::string format_date_time(std::string_view format, const std::tm& tm) {
  // The C library here spells the Microsoft "#" (no leading zeroes) flag as "-".
  std::wstring wide_format;
  for (char c : format) wide_format.push_back(c == '#' ? L'-' : static_cast<wchar_t>(c));
  wchar_t buffer[520];
  size_t n = std::wcsftime(buffer, std::size(buffer), wide_format.c_str(), &tm);
  std::string out;
  for (size_t i = 0; i < n; ++i) utf8_append(out, static_cast<char32_t>(buffer[i]));
  return out;
}

bool strftime_returns_am_pm() {
  return !format_date_time("%p", local_time(std::time(nullptr))).empty();
}

std::string date_time_insertion_macros_execute(std::string_view source,
                                               const MacroEnvironment& env) {
  std::string text(source);
  const std::time_t now = env.current_time();
  std::tm tm = local_time(now);
  long long pending[kUnitCount] = {};

  size_t pos = 0;
  while (pos < text.size()) {
    ArithmeticMacro arithmetic;
    if (text[pos] == '%' && parse_arithmetic_macro(text, pos, arithmetic)) {
      if (macro_percent_escaped(text, pos)) {
        pos += arithmetic.length;
        continue;
      }
      // Each arithmetic macro starts again from the current time.
      tm = local_time(now);
      long long& shift = pending[arithmetic.unit];
      shift = std::clamp(shift + arithmetic.amount, -kAmountCap, kAmountCap);
      text.erase(pos, arithmetic.length);
      continue;
    }

    bool any_pending = false;
    for (long long s : pending) any_pending = any_pending || s != 0;
    if (any_pending) {
      adjust_tm(tm, pending[kYears], pending[kMonths], pending[kDays], pending[kHours],
                pending[kMinutes], pending[kSeconds]);
      for (long long& s : pending) s = 0;
    }
    if (text[pos] != '%') {
      ++pos;
      continue;
    }

    // After a replacement the remaining rows are tried at the start of the new text, and
    // scanning then restarts from the start: unescaped copies may have appeared before.
    bool matched = false;
    size_t at = pos;
    for (const DateTimeMacro& row : kDateTimeMacros) {
      if (row.macro == kMacroMenuSeparator) continue;
      if (!macro_has_prefix_at(text, at, row.macro)) continue;
      if (macro_percent_escaped(text, at)) continue;
      std::string value;
      if (row.macro == kAmOrPm && !strftime_returns_am_pm()) {
        value = am_pm_fallback(tm);
      } else {
        value = format_date_time(row.format, tm);
      }
      text.replace(at, row.macro.size(), value);
      text = substitute_str(text, macro_escaped_form(row.macro), row.macro, false);
      matched = true;
      at = 0;
    }
    pos = matched ? 0 : pos + 1;
  }
  return text;
}

}  // namespace tolvan
