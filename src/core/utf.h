// Unicode in Tolvan. Text is UTF-8 everywhere inside the program; this module is the one
// place that takes it apart and puts it together: the characters of UTF-8 text, UTF-16 (the
// unit of keyboard translation, typed characters and the clipboard) and UTF-32 strings,
// the character classes and case mappings the matcher and the output depend on, and the
// characters XML 1.0 can carry. What counts as a valid character, a letter or an upper
// case is GLib's answer: matching and case adaptation are defined in its terms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvan {

// ---- Characters of UTF-8 text

struct Utf8Char {
  char32_t value;
  size_t length;  // in bytes, 1 to 4
};

// The character that starts at byte `pos` of `s`. None when no valid character starts
// there: a continuation byte, a malformed, overlong or surrogate sequence, a sequence cut
// short by the end of `s` or by a zero byte, a zero byte itself, or `pos` past the end.
std::optional<Utf8Char> utf8_char_at(std::string_view s, size_t pos = 0);

// The value of the character `s` begins with; 0 when it begins with none.
char32_t utf8_first_char(std::string_view s);

// How many characters `s` holds: every byte that is not a continuation byte begins one
// (for valid UTF-8 without zero bytes this is GLib's count).
size_t utf8_length(std::string_view s);

// Where the character that ends at byte `end` begins: the nearest byte before `end` that
// is not a continuation byte. None when every byte before `end` is one (or end is 0).
std::optional<size_t> utf8_previous_char_start(std::string_view s, size_t end);

// Appends the UTF-8 form of `c`; nothing when `c` is no character (a surrogate or beyond
// U+10FFFF).
void utf8_append(std::string& out, char32_t c);

// How many bytes utf8_append writes for `c`.
size_t utf8_encoded_length(char32_t c);

// True when all of `s` is valid UTF-8 without zero bytes.
bool utf8_valid(std::string_view s);

// ---- Whole strings: invalid input gives an empty result; a zero ends the text

std::u32string utf8_to_u32(std::string_view utf8);
std::string u32_to_utf8(std::u32string_view s);
std::u16string utf8_to_u16(std::string_view utf8);
std::string u16_to_utf8(std::u16string_view s);

// ---- UTF-16 units

// A high surrogate (U+D800 to U+DBFF) begins a pair; a low one (U+DC00 to U+DFFF) ends it.
bool utf16_is_high_surrogate(char32_t unit);
bool utf16_is_low_surrogate(char32_t unit);
// The character of a surrogate pair.
char32_t utf16_join(char16_t high, char16_t low);
// Appends `c` as one unit, or as a surrogate pair beyond U+FFFF.
void utf16_append(std::u16string& out, char32_t c);
// The character at unit `i`: a pair's character when a high surrogate is followed by a
// low one, else the unit itself.
char32_t utf16_char_at(std::u16string_view s, size_t i);

// ---- Character classes and case

bool unichar_valid(char32_t c);  // a Unicode scalar value: no surrogate, not beyond U+10FFFF
bool unichar_isalnum(char32_t c);
bool unichar_isalpha(char32_t c);
bool unichar_isdigit(char32_t c);
bool unichar_isupper(char32_t c);
bool unichar_isprint(char32_t c);
char32_t unichar_tolower(char32_t c);
char32_t unichar_toupper(char32_t c);

// Upper-cased and case-folded text. Bytes that begin no character become U+FFFD first.
std::string utf8_upper(std::string_view s);
std::string utf8_casefold(std::string_view s);

// Compares a and b over n byte positions, character by character after Unicode lower-casing
// (a position inside a multi-byte character decodes as invalid). 0 when all n positions
// agree, else the difference of the decoded values where they stop.
int g_utf8_strncasecmp(std::string_view a, std::string_view b, size_t n);
// What g_utf8_strncasecmp compares at byte position i of s: the lower-cased character that
// starts there, or the invalid marks 0xFFFFFFFF (no character starts there: a continuation
// or stray byte) and 0xFFFFFFFE (a sequence cut short by the end of s, or holding a zero
// byte); 0 past the end. Two strings of n bytes compare equal exactly when their units agree
// at every position, which is what lets the matcher index abbreviations by these units.
uint32_t g_utf8_casefold_unit(std::string_view s, size_t i);

// ---- XML

// The characters an XML 1.0 document may hold: tab, line feed, carriage return, U+0020 to
// U+D7FF, U+E000 to U+FFFD and U+10000 to U+10FFFF.
bool xml_char_allowed(char32_t c);

}  // namespace tolvan
