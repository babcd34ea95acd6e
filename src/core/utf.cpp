// Unicode through GLib's character routines, with Tolvan's types.
#include "core/utf.h"

#include <glib.h>

#include <algorithm>
#include <memory>

namespace tolvan {
namespace {

// GLib's answers for a position where no character starts, and for a sequence cut short
// by the end of the text or by a zero byte (GLib counts a zero byte itself as cut short).
constexpr gunichar kNoCharacterHere = static_cast<gunichar>(-1);
constexpr gunichar kCutShort = static_cast<gunichar>(-2);

gunichar decode(std::string_view s, size_t pos) {
  return g_utf8_get_char_validated(s.data() + pos, static_cast<gssize>(s.size() - pos));
}

bool continuation_byte(char b) { return (static_cast<unsigned char>(b) & 0xC0) == 0x80; }

size_t sequence_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

using GText = std::unique_ptr<gchar, decltype(&g_free)>;

GText made_valid(std::string_view s) {
  return GText(g_utf8_make_valid(s.data(), static_cast<gssize>(s.size())), g_free);
}

}  // namespace

std::optional<Utf8Char> utf8_char_at(std::string_view s, size_t pos) {
  if (pos >= s.size()) return std::nullopt;
  const gunichar c = decode(s, pos);
  if (c == kNoCharacterHere || c == kCutShort) return std::nullopt;
  return Utf8Char{c, sequence_length(static_cast<unsigned char>(s[pos]))};
}

char32_t utf8_first_char(std::string_view s) {
  std::optional<Utf8Char> c = utf8_char_at(s);
  return c ? c->value : 0;
}

size_t utf8_length(std::string_view s) {
  return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char b) { return !continuation_byte(b); }));
}

std::optional<size_t> utf8_previous_char_start(std::string_view s, size_t end) {
  for (size_t i = std::min(end, s.size()); i-- > 0;) {
    if (!continuation_byte(s[i])) return i;
  }
  return std::nullopt;
}

void utf8_append(std::string& out, char32_t c) {
  if (!unichar_valid(c)) return;
  char bytes[6];
  out.append(bytes, static_cast<size_t>(g_unichar_to_utf8(c, bytes)));
}

size_t utf8_encoded_length(char32_t c) {
  return unichar_valid(c) ? static_cast<size_t>(g_unichar_to_utf8(c, nullptr)) : 0;
}

bool utf8_valid(std::string_view s) {
  return g_utf8_validate(s.data(), static_cast<gssize>(s.size()), nullptr);
}

std::u32string utf8_to_u32(std::string_view utf8) {
  glong n = 0;
  gunichar* chars = g_utf8_to_ucs4(utf8.data(), static_cast<glong>(utf8.size()), nullptr, &n, nullptr);
  if (!chars) return {};
  std::u32string result(reinterpret_cast<char32_t*>(chars), static_cast<size_t>(n));
  g_free(chars);
  return result;
}

std::string u32_to_utf8(std::u32string_view s) {
  std::string out;
  for (char32_t c : s) {
    if (c == 0) break;
    if (!unichar_valid(c)) return {};
    utf8_append(out, c);
  }
  return out;
}

std::u16string utf8_to_u16(std::string_view utf8) {
  glong n = 0;
  gunichar2* units = g_utf8_to_utf16(utf8.data(), static_cast<glong>(utf8.size()), nullptr, &n, nullptr);
  if (!units) return {};
  std::u16string result(reinterpret_cast<char16_t*>(units), static_cast<size_t>(n));
  g_free(units);
  return result;
}

std::string u16_to_utf8(std::u16string_view s) {
  glong written = 0;
  gchar* utf8 = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(s.data()),
                                static_cast<glong>(s.size()), nullptr, &written, nullptr);
  if (!utf8) return {};
  std::string result(utf8, static_cast<size_t>(written));
  g_free(utf8);
  return result;
}

bool utf16_is_high_surrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool utf16_is_low_surrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char32_t utf16_join(char16_t high, char16_t low) {
  return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
}

void utf16_append(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
    return;
  }
  c -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (c >> 10));
  out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

char32_t utf16_char_at(std::u16string_view s, size_t i) {
  if (utf16_is_high_surrogate(s[i]) && i + 1 < s.size() && utf16_is_low_surrogate(s[i + 1]))
    return utf16_join(s[i], s[i + 1]);
  return s[i];
}

bool unichar_valid(char32_t c) { return g_unichar_validate(c); }
bool unichar_isalnum(char32_t c) { return g_unichar_isalnum(c); }
bool unichar_isalpha(char32_t c) { return g_unichar_isalpha(c); }
bool unichar_isdigit(char32_t c) { return g_unichar_isdigit(c); }
bool unichar_isupper(char32_t c) { return g_unichar_isupper(c); }
bool unichar_isprint(char32_t c) { return g_unichar_isprint(c); }
char32_t unichar_tolower(char32_t c) { return g_unichar_tolower(c); }
char32_t unichar_toupper(char32_t c) { return g_unichar_toupper(c); }

std::string utf8_upper(std::string_view s) {
  GText upper(g_utf8_strup(made_valid(s).get(), -1), g_free);
  return upper.get();
}

std::string utf8_casefold(std::string_view s) {
  GText folded(g_utf8_casefold(made_valid(s).get(), -1), g_free);
  return folded.get();
}

uint32_t g_utf8_casefold_unit(std::string_view s, size_t i) {
  if (i >= s.size()) return 0;
  // ASCII is by far the most common, and lower-cases on its own; a zero byte is not a
  // character here, so it takes the long way.
  auto byte = static_cast<unsigned char>(s[i]);
  if (byte != 0 && byte < 0x80) return (byte >= 'A' && byte <= 'Z') ? byte + ('a' - 'A') : byte;
  const gunichar c = decode(s, i);
  if (c == kNoCharacterHere || c == kCutShort) return c;
  return g_unichar_tolower(c);
}

int g_utf8_strncasecmp(std::string_view a, std::string_view b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    gunichar ca = g_utf8_casefold_unit(a, i), cb = g_utf8_casefold_unit(b, i);
    // Past the end of both strings they are equal, like strncmp at a shared terminator.
    if (ca == 0 || cb == 0 || ca != cb) return static_cast<int>(ca) - static_cast<int>(cb);
  }
  return 0;
}

bool xml_char_allowed(char32_t c) {
  return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

}  // namespace tolvan
