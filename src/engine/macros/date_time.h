// Date and time insertion macros: their table (which the editor's menu shows too), the date
// arithmetic macros (%(AddDays 3), %(SubtractMonths 1), ...) with their carry-over rule, and
// the shifting and formatting of broken-down times in the current C locale (LC_TIME).
#pragma once

#include <ctime>
#include <span>
#include <string>
#include <string_view>

#include "engine/macros/macro_environment.h"

namespace tolvan {

inline constexpr std::string_view kMacroMenuSeparator = "__SEPARATOR__";

// One row of the table: the macro, its strftime format in the Microsoft dialect ("#"
// removes leading zeroes), the label of the editor's insert-macro menu and its group
// (0 date, 1 time). Separator rows have kMacroMenuSeparator as macro and empty format.
struct DateTimeMacro {
  std::string_view macro;
  std::string_view format;
  std::string_view label;
  int group;
};

// All 30 rows, separators included, in menu order.
std::span<const DateTimeMacro> date_time_macros();

// Shifts `tm` by the given amounts and normalises it with mktime (daylight saving
// re-decided). When the result cannot be normalised, `tm` is left as it was.
void adjust_tm(std::tm& tm, long long years, long long months, long long days, long long hours,
               long long minutes, long long seconds);

// True when the locale's "%p" gives a non-empty designator for the current local time.
bool strftime_returns_am_pm();

// `format` (Microsoft dialect) applied to `tm` in the current locale, as UTF-8; empty when
// it formats to nothing.
std::string format_date_time(std::string_view format, const std::tm& tm);

// Replaces the date arithmetic and date/time macros of `text` with their values, "now"
// taken from the environment's clock.
std::string date_time_insertion_macros_execute(std::string_view text, const MacroEnvironment& env);

}  // namespace tolvan
