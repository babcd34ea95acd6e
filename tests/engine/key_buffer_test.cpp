// The key buffer: sizing from the library, what goes in for a key-down, Backspace.
#include <gtest/gtest.h>

#include "engine/hook/key_buffer.h"
#include "platform/vk_codes.h"
#include "support/random_library.h"

namespace tolvan {
namespace {

using testing::add_abbrev;
using testing::add_folder;
using testing::add_top;

// The bytes typed since the last clear: what follows the zero bytes at the start.
std::string typed(const KeyBuffer& b) {
  std::string_view s = b.bytes();
  size_t first = s.find_first_not_of('\0');
  return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

KeyBuffer sized(int size) {
  KeyBuffer b;
  b.resize(size);
  return b;
}

TEST(KeyBufferSize, IsTheLongestStringAnywhereInTheLibraryPlusRoom) {
  FolderList main;
  Folder& top = add_top(main);
  add_abbrev(top, {"ab", "abc"});
  Folder& off = add_folder(top, "off", true);
  // Disabled folders and unsupported abbreviations count for the size.
  add_abbrev(off, {"\xE2\x82\xAC\xE2\x82\xAC"}, {0, 3, 1, ABBR_TYPE_UNSUPPORTED});  // €€, 6 bytes
  KeyBuffer b;
  b.adjust_size(main);
  EXPECT_EQ(b.size(), kKeyBufferSlack + 6);
  EXPECT_EQ(b.bytes(), std::string(static_cast<size_t>(kKeyBufferSlack + 6), '\0'));
}

TEST(KeyBufferSize, ALibraryWithoutStringsHasNoBufferAndRecordsNothing) {
  FolderList main;
  Folder& top = add_top(main);
  add_abbrev(top, {""});
  KeyBuffer b = sized(10);
  b.adjust_size(main);
  EXPECT_EQ(b.size(), 0);
  b.key_pressed("a", vk::KeyA);
  b.add_byte('x');
  b.backspace_byte();
  b.key_pressed("\b", vk::Back);
  EXPECT_EQ(b.bytes(), "");
}

TEST(KeyBufferSize, ResizingKeepsTheNewestBytes) {
  KeyBuffer b = sized(4);
  for (char c : std::string("abcd")) b.add_byte(c);
  b.resize(2);
  EXPECT_EQ(b.bytes(), "cd");
  b.resize(5);
  EXPECT_EQ(b.bytes(), std::string("\0\0\0cd", 5));
}

TEST(KeyBuffer, SlidesOldBytesOutAtTheStart) {
  KeyBuffer b = sized(3);
  for (char c : std::string("abcde")) b.add_byte(c);
  EXPECT_EQ(b.bytes(), "cde");
  b.backspace_byte();
  EXPECT_EQ(b.bytes(), std::string("\0cd", 3));
  b.clear();
  EXPECT_EQ(b.bytes(), std::string(3, '\0'));
}

TEST(KeyBufferKeyPressed, StoresPrintableTextOnly) {
  KeyBuffer b = sized(16);
  b.key_pressed("a", vk::KeyA);
  b.key_pressed("\u00e9", 0);       // é: two bytes
  b.key_pressed("\t", vk::Tab);     // tab counts as printable
  b.key_pressed("\r", vk::Return);  // tested as a line feed, stored as it is
  b.key_pressed("\x1b", vk::Escape);
  b.key_pressed("\x7f", 0);
  b.key_pressed("\x01x", 0);  // the first character decides for the whole text
  b.key_pressed("", vk::F1);
  b.key_pressed("`a", 0);     // a dead key that did not compose: both characters
  EXPECT_EQ(typed(b), "a\xC3\xA9\t\r`a");
}

TEST(KeyBufferKeyPressed, BackspaceTakesOffAWholeCharacter) {
  KeyBuffer b = sized(16);
  b.key_pressed("x", vk::KeyA);
  b.key_pressed("\u00e9", 0);
  b.key_pressed("\u20ac", 0);      // €: three bytes
  b.key_pressed("\U0001F600", 0);  // a surrogate pair: four bytes
  b.key_pressed("\b", vk::Back);
  EXPECT_EQ(typed(b), "x\xC3\xA9\xE2\x82\xAC");
  b.key_pressed("\b", vk::Back);
  EXPECT_EQ(typed(b), "x\xC3\xA9");
  b.key_pressed("\b", vk::Back);
  EXPECT_EQ(typed(b), "x");
  b.key_pressed("\b", vk::Back);
  b.key_pressed("\b", vk::Back);  // nothing left: harmless
  EXPECT_EQ(b.bytes(), std::string(16, '\0'));
}

TEST(KeyBufferKeyPressed, BackspaceOverStrayBytesTakesOneAtATime) {
  KeyBuffer b = sized(3);
  for (char c : std::string("\x80\x80\x80")) b.add_byte(c);
  b.key_pressed("\b", vk::Back);  // no character starts anywhere: one byte
  EXPECT_EQ(b.bytes(), std::string("\0\x80\x80", 3));
}

TEST(PrintableTest, AsciiGlyphsBlanksLineFeedAndUnicodePrintables) {
  for (char32_t c : {U'a', U'Z', U'0', U'~', U' ', U'\t', U'\n', U'\u00e9', U'\u20ac', U'\U0001F600'})
    EXPECT_TRUE(mon_gunichar_isprint(c)) << static_cast<uint32_t>(c);
  for (char32_t c : {U'\0', U'\r', U'\x1b', U'\x7f', U'\b', U'\u0085'})
    EXPECT_FALSE(mon_gunichar_isprint(c)) << static_cast<uint32_t>(c);
  EXPECT_FALSE(mon_isprint(U'\u00e9'));
  EXPECT_TRUE(mon_isprint(U'\t'));
  EXPECT_TRUE(mon_gunichar_isprint_get("\xC3\xA9x"));
  EXPECT_FALSE(mon_gunichar_isprint_get("\xC3"));
  EXPECT_FALSE(mon_gunichar_isprint_get(""));
}

}  // namespace
}  // namespace tolvan
