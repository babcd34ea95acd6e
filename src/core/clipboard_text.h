// The clipboard's two text formats as bytes: Unicode text is UTF-16LE ending in a NUL unit,
// 8-bit text is Latin-1 ending in a NUL byte. Every clipboard backend converts through here.
#pragma once

#include <string>
#include <string_view>

namespace tolvan {

// UTF-8 to UTF-16LE bytes with the terminating NUL unit.
std::string clipboard_encode_unicode_text(std::string_view utf8);
// UTF-16LE bytes to UTF-8, up to the first NUL unit; an odd last byte is dropped.
std::string clipboard_decode_unicode_text(std::string_view bytes);
// Latin-1 bytes to UTF-8, up to the first NUL byte.
std::string clipboard_decode_latin1(std::string_view bytes);
// UTF-8 to Latin-1; characters beyond U+00FF become '?'. No NUL is added.
std::string clipboard_encode_latin1(std::string_view utf8);

}  // namespace tolvan
