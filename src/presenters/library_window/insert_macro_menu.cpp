#include "presenters/library_window/insert_macro_menu.h"

#include <array>

#include "engine/macros/date_time.h"
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

// The date or time submenu from the macros' own table (group 0 dates, 1 times).
MacroMenuItem date_time_submenu(const char* label, int group) {
  MacroMenuItem item{label, "", {}};
  for (const DateTimeMacro& row : date_time_macros()) {
    if (row.group != group) continue;
    if (row.macro == kMacroMenuSeparator) {
      item.submenu.push_back(separator());
    } else {
      item.submenu.push_back({std::string(row.label), std::string(row.macro), {}});
    }
  }
  return item;
}

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
      date_time_submenu("_Date", 0),
      date_time_submenu("_Time", 1),
      submenu("Date / Time _Math", kDateMath),
  };
}

std::string macro_to_insert(const std::string& macro, bool te_mode) {
  return te_mode ? tolvan_macros_to_te_macros(macro) : macro;
}

}  // namespace tolvan
