// Case adaptation of expansions.
#include <gtest/gtest.h>

#include "library/case_adaptation.h"

namespace tolvan {
namespace {

struct Adapted {
  std::optional<std::string> text;
  bool capitalize = false;
};

Adapted adapt(std::string_view typed, int case_mode = CASE_ADAPT,
              std::string_view expansion = "a boy") {
  Abbreviation a;
  a.abbreviations = {"ab"};
  a.expansion() = std::string(expansion);
  a.case_mode = case_mode;
  Adapted out;
  out.text = abbr_convert_exp_to_correct_case(expansion, a, typed, &out.capitalize);
  return out;
}

TEST(CaseAdaptation, FollowsTheTypedCase) {
  auto lower = adapt("ab");
  EXPECT_EQ(lower.text, "a boy");
  EXPECT_FALSE(lower.capitalize);

  auto first = adapt("Ab");
  EXPECT_EQ(first.text, "a boy");
  EXPECT_TRUE(first.capitalize);

  auto all = adapt("AB");
  EXPECT_EQ(all.text, "A BOY");
  EXPECT_FALSE(all.capitalize);

  auto digit_first = adapt("1ab");
  EXPECT_EQ(digit_first.text, "a boy");
  EXPECT_FALSE(digit_first.capitalize);

  auto digit_then_caps = adapt("1AB");  // a digit before any letter ends the scan
  EXPECT_EQ(digit_then_caps.text, "a boy");
  EXPECT_FALSE(digit_then_caps.capitalize);

  auto caps_then_digit = adapt("AB1");
  EXPECT_EQ(caps_then_digit.text, "A BOY");
}

TEST(CaseAdaptation, OneLetterInCapitalsOnlyCapitalises) {
  auto one = adapt("A", CASE_ADAPT, "apple");
  EXPECT_EQ(one.text, "apple");
  EXPECT_TRUE(one.capitalize);
  auto punct = adapt("-.A", CASE_ADAPT, "apple");
  EXPECT_TRUE(punct.capitalize);
}

TEST(CaseAdaptation, IsUnicodeAware) {
  auto umlaut = adapt("ÄB", CASE_ADAPT, "ärger über öl");
  EXPECT_EQ(umlaut.text, "ÄRGER ÜBER ÖL");
  auto first = adapt("Äb", CASE_ADAPT, "ärger");
  EXPECT_EQ(first.text, "ärger");
  EXPECT_TRUE(first.capitalize);
  // An invalid byte is passed over rather than ending the scan.
  auto invalid = adapt("\xff" "AB");
  EXPECT_EQ(invalid.text, "A BOY");
}

TEST(CaseAdaptation, OnlyAdaptCaseTextAbbreviationsAreChanged) {
  auto sensitive = adapt("AB", CASE_SENSITIVE);
  EXPECT_EQ(sensitive.text, "a boy");
  EXPECT_FALSE(sensitive.capitalize);
  auto insensitive = adapt("Ab", CASE_INSENSITIVE);
  EXPECT_FALSE(insensitive.capitalize);

  Abbreviation launcher;
  launcher.set_type(ABBR_TYPE_PROGRAM);
  launcher.case_mode = CASE_ADAPT;
  EXPECT_EQ(abbr_convert_exp_to_correct_case("x", launcher, "AB", nullptr), std::nullopt);
}

}  // namespace
}  // namespace tolvan
