// Unicode: decoding and encoding UTF-8 and UTF-16 at their edges, the case-insensitive
// units of the matcher, and the characters XML 1.0 allows.
#include "core/utf.h"

#include <glib.h>
#include <gtest/gtest.h>

namespace tolvan {
namespace {

TEST(Utf8Char, DecodesOneToFourBytesAndRefusesWhatIsNoCharacter) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a é € 😀
  const std::pair<size_t, Utf8Char> expected[] = {
      {0, {U'a', 1}}, {1, {0xE9, 2}}, {3, {0x20AC, 3}}, {6, {0x1F600, 4}}};
  for (auto [pos, c] : expected) {
    std::optional<Utf8Char> got = utf8_char_at(text, pos);
    ASSERT_TRUE(got) << pos;
    EXPECT_EQ(got->value, c.value) << pos;
    EXPECT_EQ(got->length, c.length) << pos;
  }
  EXPECT_FALSE(utf8_char_at(text, 2)) << "inside a character";
  EXPECT_FALSE(utf8_char_at(text, text.size())) << "past the end";

  for (std::string_view bad : {"\x80", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                               "\xFF", "\xE2\x82", "\xC3"}) {
    EXPECT_FALSE(utf8_char_at(bad)) << "overlong, surrogate, beyond U+10FFFF, stray or cut short";
  }
  EXPECT_FALSE(utf8_char_at(std::string_view("\0a", 2))) << "a zero byte is no character";
  EXPECT_FALSE(utf8_char_at(std::string_view("\xE2\0\xAC", 3))) << "nor one inside a sequence";
  EXPECT_EQ(utf8_first_char("\xC3\xA9t\xC3\xA9"), 0xE9u);
  EXPECT_EQ(utf8_first_char("\xC3"), 0u);
  EXPECT_EQ(utf8_first_char(""), 0u);
}

TEST(Utf8Char, EveryCharacterRoundTripsThroughUtf8AndUtf16) {
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (utf16_is_high_surrogate(c) || utf16_is_low_surrogate(c)) continue;
    std::string bytes;
    utf8_append(bytes, c);
    std::optional<Utf8Char> back = utf8_char_at(bytes);
    ASSERT_TRUE(back && back->value == c && back->length == bytes.size()) << std::hex << static_cast<uint32_t>(c);
    std::u16string units;
    utf16_append(units, c);
    ASSERT_EQ(units.size(), c < 0x10000 ? 1u : 2u) << std::hex << static_cast<uint32_t>(c);
    ASSERT_EQ(utf16_char_at(units, 0), c) << std::hex << static_cast<uint32_t>(c);
  }
  std::string none;
  utf8_append(none, 0xD800);
  utf8_append(none, 0x110000);
  EXPECT_EQ(none, "") << "surrogates and values beyond U+10FFFF are not written";
}

TEST(Utf8Text, LengthAndThePreviousCharacter) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC";  // a é €
  EXPECT_EQ(utf8_length(text), 3u);
  EXPECT_EQ(utf8_length(""), 0u);
  EXPECT_EQ(utf8_length("\xE2\x82"), 1u) << "a lead byte begins a character, complete or not";
  EXPECT_EQ(utf8_previous_char_start(text, text.size()), 3u);
  EXPECT_EQ(utf8_previous_char_start(text, 3), 1u);
  EXPECT_EQ(utf8_previous_char_start(text, 2), 1u) << "from inside a character, its start";
  EXPECT_EQ(utf8_previous_char_start(text, 1), 0u);
  EXPECT_FALSE(utf8_previous_char_start(text, 0));
  EXPECT_FALSE(utf8_previous_char_start("\x80\x80", 2)) << "only continuation bytes";
  EXPECT_TRUE(utf8_valid(text));
  EXPECT_FALSE(utf8_valid("\xC3"));
  EXPECT_FALSE(utf8_valid(std::string_view("a\0b", 3)));
}

TEST(Utf8Text, WholeStringConversionsGiveNothingForInvalidInput) {
  const std::string text = "a\xC3\xA9\xF0\x9F\x98\x80";
  EXPECT_EQ(utf8_to_u32(text), (std::u32string{U'a', 0xE9, 0x1F600}));
  EXPECT_EQ(utf8_to_u16(text), (std::u16string{u'a', 0xE9, 0xD83D, 0xDE00}));
  EXPECT_EQ(u32_to_utf8(utf8_to_u32(text)), text);
  EXPECT_EQ(u16_to_utf8(utf8_to_u16(text)), text);
  EXPECT_EQ(utf8_to_u32("a\xFF"), U"");
  EXPECT_EQ(utf8_to_u16("a\xC3"), u"");
  EXPECT_EQ(u16_to_utf8(std::u16string{0xD83D}), "") << "a lone high surrogate";
  EXPECT_EQ(u32_to_utf8(std::u32string{U'a', 0x110000}), "");
  EXPECT_EQ(u32_to_utf8(std::u32string{U'a', 0xDC00}), "");
  EXPECT_EQ(u32_to_utf8(std::u32string{U'a', 0, U'b'}), "a");
  EXPECT_EQ(utf8_to_u16(std::string_view("a\0b", 3)), u"a");
}

TEST(Utf16, SurrogatePairs) {
  EXPECT_TRUE(utf16_is_high_surrogate(0xD800));
  EXPECT_TRUE(utf16_is_high_surrogate(0xDBFF));
  EXPECT_FALSE(utf16_is_high_surrogate(0xDC00));
  EXPECT_TRUE(utf16_is_low_surrogate(0xDC00));
  EXPECT_TRUE(utf16_is_low_surrogate(0xDFFF));
  EXPECT_FALSE(utf16_is_low_surrogate(0xE000));
  EXPECT_EQ(utf16_join(0xD83D, 0xDE00), 0x1F600u);
  EXPECT_EQ(utf16_join(0xDBFF, 0xDFFF), 0x10FFFFu);
  const std::u16string broken{0xD83D, u'x', 0xD83D};
  EXPECT_EQ(utf16_char_at(broken, 0), 0xD83Du) << "a high surrogate without its pair stands alone";
  EXPECT_EQ(utf16_char_at(broken, 2), 0xD83Du) << "at the end";
}

TEST(UnicodeCase, WholeTextUpperAndFoldedWithInvalidBytesReplaced) {
  EXPECT_EQ(utf8_upper("stra\xC3\x9F""e \xC3\xA9"), "STRASSE \xC3\x89");
  EXPECT_EQ(utf8_casefold("Stra\xC3\x9F""E"), "strasse");
  EXPECT_EQ(utf8_upper("a\xFF"), "A\xEF\xBF\xBD");
  EXPECT_EQ(unichar_toupper(0xE9), 0xC9u);
  EXPECT_EQ(unichar_tolower(U'\u0130'), U'i');
  EXPECT_TRUE(unichar_isalnum(0x4E2D)) << "a CJK ideograph";
  EXPECT_FALSE(unichar_isalnum(U'-'));
  EXPECT_TRUE(unichar_isprint(0xE9));
  EXPECT_FALSE(unichar_isprint(0x07));
  EXPECT_FALSE(unichar_valid(0xDFFF));
}

TEST(Utf8Compare, IgnoresUnicodeCaseOverBytePositions) {
  EXPECT_EQ(g_utf8_strncasecmp("ÄBC", "äbc", 4), 0);
  EXPECT_EQ(g_utf8_strncasecmp("Straße", "STRASSE", 4), 0);
  EXPECT_NE(g_utf8_strncasecmp("Straße", "STRASSE", 6), 0);
  EXPECT_EQ(g_utf8_strncasecmp("abc", "abd", 2), 0);
  EXPECT_LT(g_utf8_strncasecmp("abc", "abd", 3), 0);
  EXPECT_EQ(g_utf8_strncasecmp("ab", "AB", 10), 0);  // both end together
  EXPECT_NE(g_utf8_strncasecmp("ab", "abc", 10), 0);
  EXPECT_EQ(g_utf8_strncasecmp("\xff" "a", "\xff" "A", 2), 0);
}

TEST(Utf8Compare, UnitsAreGLibsLowerCaseOrTheInvalidMarks) {
  // Every single byte, and a few longer characters, against GLib's own decode and lower-case.
  for (int b = 0; b < 256; ++b) {
    std::string s(1, static_cast<char>(b));
    gunichar c = g_utf8_get_char_validated(s.data(), 1);
    uint32_t expected = (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2))
                            ? c
                            : g_unichar_tolower(c);
    EXPECT_EQ(g_utf8_casefold_unit(s, 0), expected) << b;
  }
  EXPECT_EQ(g_utf8_casefold_unit("\xC4\xB0", 0), static_cast<uint32_t>('i'));  // İ
  EXPECT_EQ(g_utf8_casefold_unit("\xC4\xB0", 1), 0xFFFFFFFFu);  // inside it
  EXPECT_EQ(g_utf8_casefold_unit("\xC4", 0), 0xFFFFFFFEu);       // cut short
  EXPECT_EQ(g_utf8_casefold_unit("a", 1), 0u);                    // past the end
}

TEST(Xml, AllowedCharactersAtEveryBoundary) {
  const std::pair<char32_t, bool> cases[] = {
      {0x00, false},   {0x08, false},    {0x09, true},     {0x0A, true},     {0x0B, false},
      {0x0D, true},    {0x1F, false},    {0x20, true},     {0xD7FF, true},   {0xD800, false},
      {0xDFFF, false}, {0xE000, true},   {0xFFFD, true},   {0xFFFE, false},  {0xFFFF, false},
      {0x10000, true}, {0x10FFFF, true}, {0x110000, false}};
  for (auto [c, allowed] : cases) EXPECT_EQ(xml_char_allowed(c), allowed) << std::hex << static_cast<uint32_t>(c);
}

}  // namespace
}  // namespace tolvan
