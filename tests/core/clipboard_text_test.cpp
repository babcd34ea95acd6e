// The clipboard's text encodings: UTF-16LE with its NUL unit, and Latin-1 both ways.
#include "core/clipboard_text.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

TEST(ClipboardText, UnicodeTextRoundTripsThroughUtf16WithAStopUnit) {
  const std::string text = "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80";  // a é € 😀 (a surrogate pair)
  const std::string bytes = clipboard_encode_unicode_text(text);
  EXPECT_EQ(bytes, std::string("a\0\xe9\0\xac\x20\x3d\xd8\x00\xde\0\0", 12));
  EXPECT_EQ(clipboard_decode_unicode_text(bytes), text);
  EXPECT_EQ(clipboard_encode_unicode_text(""), std::string(2, '\0'));
  EXPECT_EQ(clipboard_decode_unicode_text(std::string("a\0\0\0b\0", 6)), "a") << "stops at the NUL unit";
  EXPECT_EQ(clipboard_decode_unicode_text(std::string("a\0b", 3)), "a") << "an odd last byte is dropped";
}

TEST(ClipboardText, Latin1BothWays) {
  EXPECT_EQ(clipboard_decode_latin1("caf\xe9"), "caf\xc3\xa9");
  EXPECT_EQ(clipboard_decode_latin1(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(clipboard_encode_latin1("caf\xc3\xa9 \xe2\x82\xac"), "caf\xe9 ?") << "the euro sign is not Latin-1";
  EXPECT_EQ(clipboard_encode_latin1(""), "");
  EXPECT_EQ(clipboard_decode_latin1(clipboard_encode_latin1("\xc3\xbf\xc2\xa0x")), "\xc3\xbf\xc2\xa0x");
}

}  // namespace
}  // namespace tolvan
