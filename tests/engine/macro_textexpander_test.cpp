// TextExpander %-codes to Tolvan macros and back: every fixed code, every open-ended form,
// case rules, escapes and round trips.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "engine/macros/textexpander_codes.h"

namespace tolvan {
namespace {

using Pair = std::pair<const char*, const char*>;

TEST(TextExpanderToTolvan, EveryFixedCode) {
  const Pair cases[] = {
      {"%|", "%(cursor)"},
      {"%<", "%(Key Left)"},
      {"%>", "%(Key Right)"},
      {"%^", "%(Key Up)"},
      {"%v", "%(Key Down)"},
      {"%fill%", "%(Input)"},
      {"%fill:%", "%(Input)"},
      {"%key:tab%", "%(Key Tab)"},
      {"%key:return%", "%(Key Enter)"},
      {"%key:enter%", "%(Key Enter)"},
      {"%key:esc%", "%(Key Escape)"},
      {"%key:escape%", "%(Key Escape)"},
      {"%clipboard", "%(clipboard)"},
      {"%\\", "%(Key Home)%(Key Shift+End)"},
      {"%e", "%(#Day)"},
      {"%d", "%(Day)"},
      {"%a", "%(WeekdayNameShort)"},
      {"%A", "%(WeekdayName)"},
      {"%1m", "%(#Month)"},
      {"%m", "%(Month)"},
      {"%b", "%(MonthNameShort)"},
      {"%B", "%(MonthName)"},
      {"%y", "%(YearShort)"},
      {"%Y", "%(Year)"},
      {"%p", "%(AMorPM)"},
      {"%1S", "%(#Second)"},
      {"%S", "%(Second)"},
      {"%1M", "%(#Minute)"},
      {"%M", "%(Minute)"},
      {"%1I", "%(#Hour)"},
      {"%1H", "%(#Hour24)"},
      {"%I", "%(Hour)"},
      {"%H", "%(Hour24)"},
  };
  EXPECT_EQ(te_macro_conv_table().size(), std::size(cases));
  for (const auto& [te, own] : cases) EXPECT_EQ(te_macros_to_tolvan_macros(te), own) << te;
}

TEST(TextExpanderToTolvan, DateCodesInASnippet) {
  EXPECT_EQ(te_macros_to_tolvan_macros("%m/%d/%Y"), "%(Month)/%(Day)/%(Year)");
  EXPECT_EQ(te_macros_to_tolvan_macros("%A, %B %e at %1I:%M %p"),
            "%(WeekdayName), %(MonthName) %(#Day) at %(#Hour):%(Minute) %(AMorPM)");
}

TEST(TextExpanderToTolvan, DateCodesCompareCaseOthersDoNot) {
  EXPECT_EQ(te_macros_to_tolvan_macros("%D %E %V"), "%D %E %(Key Down)");
  EXPECT_EQ(te_macros_to_tolvan_macros("%FILL% %Key:Tab% %CLIPBOARD"),
            "%(Input) %(Key Tab) %(clipboard)");
}

TEST(TextExpanderToTolvan, EscapedCodesBecomePlainText) {
  EXPECT_EQ(te_macros_to_tolvan_macros("100%%d"), "100%d");
  EXPECT_EQ(te_macros_to_tolvan_macros("%%|"), "%|");
  // A doubled escape is a literal "%" and a real code.
  EXPECT_EQ(te_macros_to_tolvan_macros("%%%d"), "%%%(Day)");
}

TEST(TextExpanderToTolvan, OpenEndedFillAndDateMath) {
  const Pair cases[] = {
      {"%fill:name%", "%(Input name)"},
      {"%FILL:Your Name%", "%(Input Your Name)"},
      {"%@+3Y", "%(AddYears 3)"},
      {"%@+3M", "%(AddMonths 3)"},
      {"%@+3D", "%(AddDays 3)"},
      {"%@+3h", "%(AddHours 3)"},
      {"%@+3m", "%(AddMinutes 3)"},
      {"%@+3s", "%(AddSeconds 3)"},
      {"%@-2Y", "%(SubtractYears 2)"},
      {"%@-2M", "%(SubtractMonths 2)"},
      {"%@-2D", "%(SubtractDays 2)"},
      {"%@-2h", "%(SubtractHours 2)"},
      {"%@-2m", "%(SubtractMinutes 2)"},
      {"%@-2s", "%(SubtractSeconds 2)"},
      {"%@+ 10D", "%(AddDays  10)"},
  };
  for (const auto& [te, own] : cases) EXPECT_EQ(te_macros_to_tolvan_macros(te), own) << te;
  EXPECT_EQ(te_oe_macro_conv_table().size(), 19u);
}

TEST(TextExpanderToTolvan, TextAfterAFillInIsNotACode) {
  EXPECT_EQ(te_macros_to_tolvan_macros("%fill:x%px"), "%(Input x)px");
  EXPECT_EQ(te_macros_to_tolvan_macros("<a>%fill:title%</a>"), "<a>%(Input title)</a>");
  EXPECT_EQ(te_macros_to_tolvan_macros("%fill:%d"), "%(Input)d");
}

TEST(TextExpanderToTolvan, IncompleteOpenEndedCodesStay) {
  EXPECT_EQ(te_convert_fill("%fill:name"), "%fill:name");
  EXPECT_EQ(te_convert_fill("%@+D"), "%@+D");
  EXPECT_EQ(te_convert_fill("%@+3d"), "%@+3d");
  EXPECT_EQ(te_convert_fill("%@+3x"), "%@+3x");
  EXPECT_EQ(te_convert_fill("%@*3D"), "%@*3D");
}

TEST(TextExpanderToTolvan, SeveralOpenEndedCodesInOneText) {
  EXPECT_EQ(te_convert_fill("Due %@+14D, ask %fill:who% (%@-1h)"),
            "Due %(AddDays 14), ask %(Input who) (%(SubtractHours 1))");
}

TEST(TolvanToTextExpander, EveryOwnMacroAndTheFirstRowWins) {
  const Pair cases[] = {
      {"%(cursor)", "%|"},
      {"%(Key Left)", "%<"},
      {"%(Key Right)", "%>"},
      {"%(Key Up)", "%^"},
      {"%(Key Down)", "%v"},
      {"%(Input)", "%fill%"},
      {"%(Key Tab)", "%key:tab%"},
      {"%(Key Enter)", "%key:return%"},
      {"%(Key Escape)", "%key:esc%"},
      {"%(clipboard)", "%clipboard"},
      {"%(Key Home)%(Key Shift+End)", "%\\"},
      {"%(#Day)", "%e"},
      {"%(Day)", "%d"},
      {"%(WeekdayNameShort)", "%a"},
      {"%(WeekdayName)", "%A"},
      {"%(#Month)", "%1m"},
      {"%(Month)", "%m"},
      {"%(MonthNameShort)", "%b"},
      {"%(MonthName)", "%B"},
      {"%(YearShort)", "%y"},
      {"%(Year)", "%Y"},
      {"%(AMorPM)", "%p"},
      {"%(#Second)", "%1S"},
      {"%(Second)", "%S"},
      {"%(#Minute)", "%1M"},
      {"%(Minute)", "%M"},
      {"%(#Hour)", "%1I"},
      {"%(#Hour24)", "%1H"},
      {"%(Hour)", "%I"},
      {"%(Hour24)", "%H"},
  };
  for (const auto& [own, te] : cases) EXPECT_EQ(tolvan_macros_to_te_macros(own), te) << own;
}

TEST(TolvanToTextExpander, OwnMacrosMatchWithoutCaseUnlessEscaped) {
  EXPECT_EQ(tolvan_macros_to_te_macros("%(DAY) %(key enter) %(CURSOR)"), "%d %key:return% %|");
  EXPECT_EQ(tolvan_macros_to_te_macros("%%(Day) %%%(Day)"), "%%(Day) %%%d");
}

TEST(TolvanToTextExpander, OpenEndedForms) {
  const Pair cases[] = {
      {"%(Input name)", "%fill:name%"},
      {"%(input Your Name)", "%fill:Your Name%"},
      {"%(AddYears 1)", "%@+1Y"},
      {"%(AddMonths 2)", "%@+2M"},
      {"%(AddDays 3)", "%@+3D"},
      {"%(AddHours 4)", "%@+4h"},
      {"%(AddMinutes 5)", "%@+5m"},
      {"%(AddSeconds 6)", "%@+6s"},
      {"%(SubtractYears 1)", "%@-1Y"},
      {"%(SubYears 1)", "%@-1Y"},
      {"%(SubtractMonths 2)", "%@-2M"},
      {"%(SubMonths 2)", "%@-2M"},
      {"%(SubtractDays 3)", "%@-3D"},
      {"%(SubDays 3)", "%@-3D"},
      {"%(SubtractHours 4)", "%@-4h"},
      {"%(SubHours 4)", "%@-4h"},
      {"%(SubtractMinutes 5)", "%@-5m"},
      {"%(SubMinutes 5)", "%@-5m"},
      {"%(SubtractSeconds 6)", "%@-6s"},
      {"%(SubSeconds 6)", "%@-6s"},
      {"%(adddays 7)", "%@+7D"},
  };
  for (const auto& [own, te] : cases) EXPECT_EQ(tolvan_macros_to_te_macros(own), te) << own;
  // No number, or no closing parenthesis: not an open-ended form.
  EXPECT_EQ(tolvan_macros_to_te_macros("%(AddDays x)"), "%(AddDays x)");
  EXPECT_EQ(tolvan_macros_to_te_macros("%(Input name"), "%(Input name");
}

TEST(TextExpanderRoundTrip, CodesWithOneMeaningComeBack) {
  const char* snippets[] = {
      "%m/%d/%Y",
      "%A, %B %e %Y at %1I:%M:%S %p",
      "%a %b %y %1m %1H:%1M:%1S %H %I",
      "Hello %|world %< %> %^ %v",
      "%fill% and %fill:name% then %key:tab% %key:return% %key:esc%",
      "%clipboard %\\",
      "In %@+3D or %@-2M or %@+1Y %@-5m %@+10s %@-1h",
      "100%% sure",
  };
  for (const char* te : snippets) {
    EXPECT_EQ(tolvan_macros_to_te_macros(te_macros_to_tolvan_macros(te)), te) << te;
  }
}

TEST(TextExpanderRoundTrip, SynonymsComeBackAsTheFirstSpelling) {
  EXPECT_EQ(tolvan_macros_to_te_macros(te_macros_to_tolvan_macros("%fill:% %key:enter% "
                                                                  "%key:escape%")),
            "%fill% %key:return% %key:esc%");
}

TEST(TextExpanderRoundTrip, AdjacentCodesConvertBothWays) {
  EXPECT_EQ(tolvan_macros_to_te_macros("%(Key Enter)%(Key Escape)"), "%key:return%%key:esc%");
  EXPECT_EQ(tolvan_macros_to_te_macros("%(Day)%(Month)%(cursor)"), "%d%m%|");
  EXPECT_EQ(te_macros_to_tolvan_macros("%key:esc%%key:return%"), "%(Key Escape)%(Key Enter)");
  EXPECT_EQ(te_macros_to_tolvan_macros("%d%m%Y"), "%(Day)%(Month)%(Year)");
  // Escapes are judged on the text as written: an odd run of "%" before a code protects it.
  EXPECT_EQ(tolvan_macros_to_te_macros("%%(Day)%(Day)"), "%%(Day)%d");
  EXPECT_EQ(te_macros_to_tolvan_macros("%%d%d"), "%d%(Day)");
  EXPECT_EQ(te_macros_to_tolvan_macros("%%%d"), "%%%(Day)");  // "%%" then a code
  for (const char* own : {"%(Key Tab)%(Key Enter)%(Key Escape)", "%(Hour):%(Minute)%(AMorPM)"}) {
    EXPECT_EQ(te_macros_to_tolvan_macros(tolvan_macros_to_te_macros(own)), own);
  }
}

TEST(TextExpanderToTolvan, LaterFillInsBecomeInputWithTheirDefault) {
  const Pair cases[] = {
      {"%filltext:name=Street:default=Main St:width=20%", "%(Input Main St)"},
      {"%filltext:name=Command Name%", "%(Input)"},
      {"%fillarea:name=Body:default=Dear sir%", "%(Input Dear sir)"},
      {"%fillpopup:name=Size:default=small:medium:large%", "%(Input small)"},
      {"x%fillpart:name=Extra:default=yes%more%fillpartend%y", "x%(Input yes)morey"},
      {"%FillText:name=a:Default=b%", "%(Input b)"},
      // Escaped, or never closed: text.
      {"%%filltext:name=a%", "%filltext:name=a%"},
      {"%filltext:name=open", "%filltext:name=open"},
  };
  for (const auto& [te, own] : cases) EXPECT_EQ(te_macros_to_tolvan_macros(te), own) << te;
  // Going out, they are not Tolvan's macros and stay as they are.
  for (const char* te : {"%filltext:name=a:default=b%", "%fillpopup:name=s:default=a:b%",
                         "%fillpart:name=p%x%fillpartend%"}) {
    EXPECT_EQ(tolvan_macros_to_te_macros(te), te);
  }
}

TEST(DateMathExtract, FindsEachOccurrenceWithOffsets) {
  auto spans = date_math_string_extract("a %@+3D b %@+ 12D %@+D %@+4d", "%@+", "D", true);
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans[0].text, "%@+3D");
  EXPECT_EQ(spans[0].start, 2u);
  EXPECT_EQ(spans[0].end, 7u);
  EXPECT_EQ(spans[1].text, "%@+ 12D");
  EXPECT_EQ(spans[1].start, 10u);
  EXPECT_EQ(date_math_string_extract("%@+4d", "%@+", "D", false).size(), 1u);
  EXPECT_TRUE(date_math_string_extract("", "%@+", "D", true).empty());
}

}  // namespace
}  // namespace tolvan
