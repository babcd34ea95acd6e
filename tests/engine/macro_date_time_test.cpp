// Date and time macros: every row's value, the "#" flag, names in any case, escapes, and
// date arithmetic with its carry-over and restart rules.
#include <gtest/gtest.h>

#include <locale.h>

#include <string>

#include "engine/macros/date_time.h"
#include "macro_test_support.h"

namespace tolvan {
namespace {

class DateTimeMacros : public testing::MacroTest {
 protected:
  std::string run(const std::string& text, std::time_t now) {
    return date_time_insertion_macros_execute(text, clock_at(now));
  }
};

TEST_F(DateTimeMacros, TableHasItsRowsSeparatorsAndGroupsInMenuOrder) {
  auto rows = date_time_macros();
  ASSERT_EQ(rows.size(), 30u);
  int separators = 0;
  for (const auto& row : rows) separators += row.macro == kMacroMenuSeparator;
  EXPECT_EQ(separators, 9);
  EXPECT_EQ(rows.front().macro, "%(WeekdayName)");
  EXPECT_EQ(rows[2].macro, kMacroMenuSeparator);
  EXPECT_EQ(rows[2].group, 0);
  EXPECT_EQ(rows.back().macro, "%(AMorPM)");
  EXPECT_EQ(rows.back().label, "AM/PM indicato_r (AM, PM)");
  EXPECT_EQ(rows[rows.size() - 2].macro, kMacroMenuSeparator);
  EXPECT_EQ(rows[rows.size() - 2].group, 1);
}

TEST_F(DateTimeMacros, EveryRowGivesWhatItsLabelDescribes) {
  // Thursday 5 March 2009, 07:04:09: small numbers show the leading-zero rules.
  const std::time_t t = at(2009, 3, 5, 7, 4, 9);
  const std::pair<const char*, const char*> cases[] = {
      {"%(WeekdayName)", "Thursday"}, {"%(WeekdayNameShort)", "Thu"}, {"%(MonthName)", "March"},
      {"%(MonthNameShort)", "Mar"},   {"%(Month)", "03"},             {"%(#Month)", "3"},
      {"%(Day)", "05"},               {"%(#Day)", "5"},               {"%(Year)", "2009"},
      {"%(YearShort)", "09"},         {"%(#DayOfYear)", "64"},        {"%(#WeekOfYear)", "9"},
      {"%(Hour)", "07"},              {"%(#Hour)", "7"},              {"%(Hour24)", "07"},
      {"%(#Hour24)", "7"},            {"%(Minute)", "04"},            {"%(#Minute)", "4"},
      {"%(Second)", "09"},            {"%(#Second)", "9"},            {"%(AMorPM)", "AM"},
  };
  for (const auto& [macro, value] : cases) EXPECT_EQ(run(macro, t), value) << macro;
  EXPECT_EQ(run("%(Hour) %(#Hour) %(Hour24) %(AMorPM)", at(2009, 3, 5, 19, 0, 0)), "07 7 19 PM");
}

TEST_F(DateTimeMacros, NamesMatchInAnyCaseAndSurroundingTextStays) {
  const std::time_t t = at(2025, 6, 7);
  EXPECT_EQ(run("Date: %(day).%(MONTH).%(yEaR)!", t), "Date: 07.06.2025!");
  EXPECT_EQ(run("%(Day)%(Day)%(Month)", t), "070706");
}

TEST_F(DateTimeMacros, MalformedMacrosAreLeftAsText) {
  const std::time_t t = at(2025, 6, 7);
  EXPECT_EQ(run("%(Day", t), "%(Day");
  EXPECT_EQ(run("%(Days)", t), "%(Days)");
  EXPECT_EQ(run("% (Day)", t), "% (Day)");
  EXPECT_EQ(run("%(Day %(Month)", t), "%(Day 06");
}

TEST_F(DateTimeMacros, EscapedMacrosStayAndLoseTheirEscapeOnlyBesideAPlainOne) {
  const std::time_t t = at(2025, 6, 7);
  EXPECT_EQ(run("%%(Day)", t), "%%(Day)");
  // A doubled escape is a literal "%" followed by a real macro.
  EXPECT_EQ(run("%%%(Day)", t), "%%07");
  EXPECT_EQ(run("%%%%(Day)", t), "%%%%(Day)");
  // Replacing a macro unescapes its escaped copies, which the rescan then replaces too.
  EXPECT_EQ(run("%(Day) %%(Day)", t), "07 07");
  EXPECT_EQ(run("%%(Day) %(Day)", t), "07 07");
  EXPECT_EQ(run("%(Month) %%(Day)", t), "06 %%(Day)");
}

TEST_F(DateTimeMacros, ArithmeticAppliesToEveryLaterMacroUntilTheNextArithmetic) {
  const std::time_t t = at(2025, 6, 7);
  EXPECT_EQ(run("%(AddDays 1)%(Day) %(Day)", t), "08 08");
  EXPECT_EQ(run("%(AddDays 1)%(Day) %(SubDays 1)%(Day)", t), "08 06");
  EXPECT_EQ(run("%(Day) %(AddDays 3)%(Day)", t), "07 10");
}

TEST_F(DateTimeMacros, AdjacentArithmeticAddsUpButLaterArithmeticRestartsFromNow) {
  const std::time_t t = at(2025, 6, 7);
  EXPECT_EQ(run("%(AddDays 1)%(AddDays 1)%(Day)", t), "09");
  EXPECT_EQ(run("%(AddDays 1)%(AddHours 24)%(Day)", t), "09");
  // Text between them applies the first shift; the second starts again from now.
  EXPECT_EQ(run("%(AddDays 1) %(AddDays 1)%(Day)", t), " 08");
  EXPECT_EQ(run("%(AddDays 5)x%(SubDays 1)%(Day)", t), "x06");
}

TEST_F(DateTimeMacros, ArithmeticSpellings) {
  const std::time_t t = at(2025, 6, 7, 12, 0, 0);
  EXPECT_EQ(run("%(SubtractYears 2)%(Year)", t), "2023");
  EXPECT_EQ(run("%(subyears 2)%(Year)", t), "2023");
  EXPECT_EQ(run("%(ADDHOURS\t3)%(Hour24)", t), "15");
  EXPECT_EQ(run("%(AddMinutes90)%(Hour24):%(Minute)", t), "13:30");
  EXPECT_EQ(run("%(AddSeconds  61)%(Minute):%(Second)", t), "01:01");
  EXPECT_EQ(run("%(SubtractMonths 1)%(MonthName)", t), "May");
}

TEST_F(DateTimeMacros, BrokenArithmeticIsTextAndDoesNotShift) {
  const std::time_t t = at(2025, 6, 7);
  EXPECT_EQ(run("%(AddDays x)%(Day)", t), "%(AddDays x)07");
  EXPECT_EQ(run("%(AddDays 2 )%(Day)", t), "%(AddDays 2 )07");
  EXPECT_EQ(run("%(AddDays)%(Day)", t), "%(AddDays)07");
  EXPECT_EQ(run("%(AddWeeks 1)%(Day)", t), "%(AddWeeks 1)07");
  EXPECT_EQ(run("%(AddDays 2", t), "%(AddDays 2");
  EXPECT_EQ(run("%%(AddDays 2)%(Day)", t), "%%(AddDays 2)07");
}

TEST_F(DateTimeMacros, MonthArithmeticAcrossYearEndsAndFromTheThirtyFirst) {
  EXPECT_EQ(run("%(AddMonths 3)%(Year)-%(Month)-%(Day)", at(2025, 11, 15)), "2026-02-15");
  EXPECT_EQ(run("%(SubMonths 1)%(Year)-%(Month)", at(2025, 1, 10)), "2024-12");
  EXPECT_EQ(run("%(SubtractMonths 13)%(Year)-%(Month)", at(2025, 1, 10)), "2023-12");
  // mktime carries an impossible day into the next month.
  EXPECT_EQ(run("%(AddMonths 1)%(Month)-%(Day)", at(2025, 1, 31)), "03-03");
  EXPECT_EQ(run("%(AddMonths 1)%(Month)-%(Day)", at(2024, 1, 31)), "03-02");
  EXPECT_EQ(run("%(AddDays 1)%(Year)-%(Month)-%(Day)", at(2025, 12, 31)), "2026-01-01");
  EXPECT_EQ(run("%(AddYears 1)%(Month)-%(Day)", at(2024, 2, 29)), "03-01");
}

TEST_F(DateTimeMacros, ShiftThatCannotBeNormalisedLeavesTheTimeAlone) {
  const std::time_t t = at(2025, 6, 7);
  EXPECT_EQ(run("%(AddYears 99999999999999999)%(Year)", t), "2025");
  std::tm tm{};
  tm.tm_year = 125;
  tm.tm_mon = 5;
  tm.tm_mday = 7;
  adjust_tm(tm, 0, 0, 4'000'000'000LL, 0, 0, 0);
  EXPECT_EQ(tm.tm_mday, 7);
  adjust_tm(tm, 0, 0, -7, 0, 0, 0);
  EXPECT_EQ(tm.tm_mon, 4);
  EXPECT_EQ(tm.tm_mday, 31);
}

TEST_F(DateTimeMacros, AmPmFallsBackWhenTheLocaleHasNoDesignator) {
  locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
  if (german == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not generated on this machine";
  locale_t previous = uselocale(german);
  EXPECT_FALSE(strftime_returns_am_pm());
  EXPECT_EQ(run("%(AMorPM) %(MonthName)", at(2025, 3, 7, 15)), "PM M\xC3\xA4rz");
  uselocale(previous);
  freelocale(german);
}

TEST_F(DateTimeMacros, CLocaleHasADesignator) { EXPECT_TRUE(strftime_returns_am_pm()); }

}  // namespace
}  // namespace tolvan
