#include "presenters/library_window/insert_macro_menu.h"

#include <array>

#include "engine/macros/insertion.h"
#include "engine/macros/textexpander_codes.h"

namespace tolvan {
namespace {

// A row of the date and time tables; an empty label is a separator.
struct MacroRow {
  const char* label;
  const char* macro;
};

constexpr std::array<const char*, 10> kPresets = {
    "%(Month)/%(Day)/%(Year) %(#Hour):%(Minute):%(Second) %(AMorPM)",
    "%(WeekdayName), %(MonthName) %(Day), %(Year)",
    "%(Month)/%(Day)/%(Year)",
    "%(Month)/%(Day)/%(YearShort)",
    "%(MonthName) %(Day), %(Year)",
    "%(MonthNameShort). %(Day), %(Year)",
    "%(Day) %(MonthName), %(Year)",
    "%(Hour):%(Minute):%(Second) %(AMorPM)",
    "%(#Hour):%(Minute):%(Second) %(AMorPM)",
    "%(Hour24):%(Minute):%(Second)",
};

constexpr MacroRow kDate[] = {
    {"_Weekday name (Sunday, Monday...)", "%(WeekdayName)"},
    {"Abbreviated w_eekday name (Sun, Mon...)", "%(WeekdayNameShort)"},
    {"", ""},
    {"_Month name (January, February...)", "%(MonthName)"},
    {"Abbreviated m_onth name (Jan, Feb...)", "%(MonthNameShort)"},
    {"", ""},
    {"Mont_h number (01, 02, ...)", "%(Month)"},
    {"Month n_umber, no leading zeroes (1, 2...)", "%(#Month)"},
    {"", ""},
    {"_Day of the month (01, 02, ...)", "%(Day)"},
    {"D_ay of the month, no leading zeroes (1, 2, ...)", "%(#Day)"},
    {"", ""},
    {"_Year (2008, 2009)", "%(Year)"},
    {"Year, no _century (08, 09)", "%(YearShort)"},
    {"", ""},
    {"Day of _the year (361, 362)", "%(#DayOfYear)"},
    {"Wee_k of the year (48, 49)", "%(#WeekOfYear)"},
};

constexpr MacroRow kTime[] = {
    {"_Hour", "%(Hour)"},
    {"Hour, _no leading zeroes", "%(#Hour)"},
    {"", ""},
    {"Hour, _24-hour format", "%(Hour24)"},
    {"Hour, 2_4-hour format, no leading zeroes", "%(#Hour24)"},
    {"", ""},
    {"_Minute", "%(Minute)"},
    {"M_inute, no leading zeroes", "%(#Minute)"},
    {"", ""},
    {"_Second", "%(Second)"},
    {"S_econd, no leading zeroes", "%(#Second)"},
    {"", ""},
    {"AM/PM indicato_r (AM, PM)", "%(AMorPM)"},
};

constexpr MacroRow kDateMath[] = {
    {"Add year(s)", "%(AddYears 1)"},
    {"Add months(s)", "%(AddMonths 1)"},
    {"Add days(s)", "%(AddDays 1)"},
    {"Add hours(s)", "%(AddHours 1)"},
    {"Add minutes(s)", "%(AddMinutes 1)"},
    {"Add seconds(s)", "%(AddSeconds 1)"},
    {"", ""},
    {"Subtract year(s)", "%(SubtractYears 1)"},
    {"Subtract months(s)", "%(SubtractMonths 1)"},
    {"Subtract days(s)", "%(SubtractDays 1)"},
    {"Subtract hours(s)", "%(SubtractHours 1)"},
    {"Subtract minutes(s)", "%(SubtractMinutes 1)"},
    {"Subtract seconds(s)", "%(SubtractSeconds 1)"},
};

constexpr MacroRow kKeys[] = {
    {"Full key press", "%(Key)"},
    {"Key press down and hold", "%(KeyDown)"},
    {"Key press up", "%(KeyUp)"},
};

template <size_t N>
MacroMenuItem submenu(const char* label, const MacroRow (&rows)[N]) {
  MacroMenuItem item{label, "", {}};
  for (const MacroRow& row : rows) item.submenu.push_back({row.label, row.macro, {}});
  return item;
}

MacroMenuItem separator() { return {}; }

}  // namespace

std::vector<MacroMenuItem> insert_macro_menu(const MacroEnvironment& env) {
  MacroMenuItem presets{"Date / Time _Presets", "", {}};
  for (const char* format : kPresets) {
    // The preset shows what it gives; the label must not grow mnemonics from the date.
    std::string label;
    for (char c : insertion_macros_execute(format, env).text) label += c == '_' ? std::string("__") : std::string(1, c);
    presets.submenu.push_back({label, format, {}});
  }
  return {
      {"Include _clipboard contents in output", "%(clipboard)", {}},
      {"Set c_ursor position in outputted text", "%(cursor)", {}},
      separator(),
      {"_Interactive text input", "%(Input)", {}},
      submenu("_Simulate special key press (F2 for guide)", kKeys),
      {"Insert delay", "%(Delay 1s100ms)", {}},
      separator(),
      std::move(presets),
      submenu("_Date", kDate),
      submenu("_Time", kTime),
      submenu("Date / Time _Math", kDateMath),
  };
}

std::string macro_to_insert(const std::string& macro, bool te_mode) {
  return te_mode ? tolvan_macros_to_te_macros(macro) : macro;
}

}  // namespace tolvan
