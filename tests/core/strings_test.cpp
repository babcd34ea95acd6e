#include "core/strings.h"

#include <gtest/gtest.h>

#include <cctype>

namespace tolvan {
namespace {

using V = std::vector<std::string>;

TEST(Substitute, ReplacesLeftToRightWithoutRescanningInsertedText) {
  EXPECT_EQ(substitute_str("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(substitute_str("abcabc", "abc", "c"), "cc");
  EXPECT_EQ(substitute_str("AbCabc", "abc", "x", false), "xx");
  EXPECT_EQ(substitute_str("AbCabc", "abc", "x", true), "AbCx");
  EXPECT_EQ(substitute_str("text", "", "x"), "text");
  EXPECT_EQ(substitute_str("a%b", "%", ""), "ab");
}

TEST(Substitute, EscapeFlagLeavesBackslashedOccurrencesAlone) {
  EXPECT_EQ(substitute_str(R"(%d \%d %d)", "%d", "7", true, true), R"(7 \%d 7)");
  // An escaped occurrence is kept whole; the search goes on after it.
  EXPECT_EQ(substitute_str(R"(\%%%)", "%%", "P", true, true), R"(\%%%)");
  EXPECT_EQ(substitute_str(R"(\%d)", "%d", "7", true, false), R"(\7)");
}

TEST(Substitute, GuardBeforeAndAfterWithRunCounting) {
  // Without run counting any adjacent guard protects.
  EXPECT_EQ(substitute_str_ignore_befaft("%c %%c", "%c", '%', true, false, false, "X"), "X %%c");
  // With run counting an even run of guards escapes itself, an odd run protects.
  EXPECT_EQ(substitute_str_ignore_befaft("%%%c", "%c", '%', true, false, true, "X"), "%%X");
  EXPECT_EQ(substitute_str_ignore_befaft("%%c", "%c", '%', true, false, true, "X"), "%%c");
  EXPECT_EQ(substitute_str_ignore_befaft("%%%%%c", "%c", '%', true, false, true, "X"), "%%%%X");
  EXPECT_EQ(substitute_str_ignore_befaft("x) x)) x)))", "x", ')', false, true, true, "Y"),
            "x) Y)) x)))");
  EXPECT_EQ(substitute_str_ignore_befaft("x) x))", "x", ')', false, true, false, "Y"), "x) x))");
  // A replacement that ends in the guard does not protect the next occurrence.
  EXPECT_EQ(substitute_str_ignore_befaft("%c%c", "%c", '%', true, false, true, "5%"), "5%5%");
  EXPECT_EQ(substitute_str(R"(%d%d)", "%d", "\\", true, true), R"(\\)");
  EXPECT_EQ(substitute_str_ignore_befaft("aBc", "b", '!', true, true, false, "x", false), "axc");
}

TEST(Substitute, ConversionTableAppliesPairsInOrder) {
  std::vector<Substitution> table = {{"a", "b"}, {"b", "c"}};
  EXPECT_EQ(substitute_str_using_conversion_table("ab", table), "cc");
}

TEST(Escape, BackslashThenQuoteRoundTripsAnyText) {
  auto escape = [](std::string s) { return escape_string(escape_string(s, '\\'), '"'); };
  auto unescape = [](std::string s) { return unescape_string(unescape_string(s, '"'), '\\'); };
  for (std::string s : {std::string(R"(a\"b)"), std::string(R"(\\")"), std::string(R"("\")"),
                        std::string(R"(\\\"\"")"), std::string("plain"), std::string(""),
                        std::string(R"(ends in \)")}) {
    EXPECT_EQ(unescape(escape(s)), s) << s;
  }
  EXPECT_EQ(escape(R"(a"b\c)"), R"(a\"b\\c)");
}

TEST(Extract, SpansIncludeMarkersAndRunToEndWhenUnclosed) {
  auto spans = string_extract("x %(a) y %(bb) z %(open", "%(", ")");
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_EQ(spans[0].text, "%(a)");
  EXPECT_EQ(spans[0].start, 2u);
  EXPECT_EQ(spans[0].end, 6u);
  EXPECT_EQ(spans[1].text, "%(bb)");
  EXPECT_EQ(spans[2].text, "%(open");
  EXPECT_EQ(string_extract("<a><b>", "<", "").front().text, "<a><b>");
  EXPECT_TRUE(string_extract("none", "%(", ")").empty());
}

TEST(Extract, ReplaceOnlyInsideSpans) {
  EXPECT_EQ(replace_this_with_that_in_this("a b [a b] a [b a]", " ", "_", "[", "]"),
            "a b [a_b] a [b_a]");
  EXPECT_EQ(replace_this_with_that_in_this("[x x", "x", "y", "[", "]"), "[y y");
}

TEST(Split, DropsEmptyPieces) {
  EXPECT_EQ(strsplit(",1,,2,", ","), (V{"1", "2"}));
  EXPECT_EQ(strsplit("a", ","), (V{"a"}));
  EXPECT_TRUE(strsplit("", ",").empty());
  EXPECT_TRUE(strsplit(",,,", ",").empty());
  EXPECT_TRUE(strsplit("abc", "").empty());
  EXPECT_EQ(strsplit("aXbxc", "x", false), (V{"a", "b", "c"}));
}

TEST(Split, NoDoubleKeepsAllButTheLastDelimiterOfARun) {
  EXPECT_EQ(strsplit_no_double("a||b", "|"), (V{"a|", "b"}));
  EXPECT_EQ(strsplit_no_double("a|||b|c", "|"), (V{"a||", "b", "c"}));
  EXPECT_EQ(strsplit_no_double("a|b|", "|"), (V{"a", "b"}));
  EXPECT_EQ(strsplit_no_double("a||", "|"), (V{"a|"}));
}

TEST(Search, EscapedCharactersAreNeverFound) {
  EXPECT_EQ(bytes_to_char("a\\\"b\"", '"', true), 4);
  EXPECT_EQ(bytes_to_char("a\\\"b\"", '"', false), 2);
  EXPECT_EQ(bytes_to_char("ab\\", 'x', true), -1);
  EXPECT_EQ(bytes_to_char("", 'x'), -1);
  EXPECT_EQ(charcount("a\\aAa", 'a', true, true), 2);
  EXPECT_EQ(charcount("a\\aAa", 'a', false, false), 4);
  EXPECT_EQ(bytes_to_string("Hello", "LL", false), 2);
  EXPECT_EQ(bytes_to_string("Hello", "LL", true), -1);
}

TEST(Search, SistypeEmptyIsFalseAndPrefixCounts) {
  EXPECT_FALSE(sistype("", -1, ::isspace));
  EXPECT_TRUE(sistype("  \t", -1, ::isspace));
  EXPECT_FALSE(sistype("  x", -1, ::isspace));
  EXPECT_TRUE(sistype("  x", 2, ::isspace));
  EXPECT_TRUE(sistype("x", 0, ::isspace));
  EXPECT_TRUE(sistype("12", 10, ::isdigit));
}

TEST(Search, ListLookups) {
  V list = {"Alpha", "beta", "alphabet"};
  EXPECT_EQ(string_array_index_of(list, "ALPHA", false), 0);
  EXPECT_EQ(string_array_index_of(list, "ALPHA", true), -1);
  // The last element that begins with the text wins.
  EXPECT_EQ(char_list_contains_string(list, "alpha", -1, true), 2);
  EXPECT_EQ(char_list_contains_string(list, "alpha", -1, false), 2);
  EXPECT_EQ(char_list_contains_string(list, "Alphx", 4, true), 0);
  EXPECT_EQ(char_list_contains_string(list, "gamma", -1, true), -1);
}

TEST(Lines, KeepOrDropTheLineEnd) {
  EXPECT_EQ(read_entire_line_from_string("one\r\ntwo", false), "one");
  EXPECT_EQ(read_entire_line_from_string("one\r\ntwo", true), "one\r\n");
  EXPECT_EQ(read_entire_line_from_string("last", false), "last");
}

}  // namespace
}  // namespace tolvan
