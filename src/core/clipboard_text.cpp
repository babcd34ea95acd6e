#include "core/clipboard_text.h"

#include <cstdint>

#include "core/utf.h"

namespace tolvan {

std::string clipboard_encode_unicode_text(std::string_view utf8) {
  std::string bytes;
  for (char16_t unit : utf8_to_u16(utf8)) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  bytes.append(2, '\0');
  return bytes;
}

std::string clipboard_decode_unicode_text(std::string_view bytes) {
  std::u16string units;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char16_t unit = static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                          (static_cast<uint8_t>(bytes[i + 1]) << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return u16_to_utf8(units);
}

std::string clipboard_decode_latin1(std::string_view bytes) {
  std::u32string chars;
  for (char c : bytes) {
    if (c == '\0') break;
    chars.push_back(static_cast<uint8_t>(c));
  }
  return u32_to_utf8(chars);
}

std::string clipboard_encode_latin1(std::string_view utf8) {
  std::string out;
  for (char32_t c : utf8_to_u32(utf8)) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}

}  // namespace tolvan
