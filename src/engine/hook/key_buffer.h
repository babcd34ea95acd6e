// The key buffer: a sliding window over the UTF-8 bytes of what the user typed last, newest
// byte at the end, zero bytes at the start where nothing has been typed since the last
// clear. The hook thread owns it; matching reads its tail.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/model.h"

namespace tolvan {

// Whether a typed character goes into the key buffer: ASCII letters, digits, punctuation,
// space and tab, anything GLib calls printable, and the line feed.
bool mon_gunichar_isprint(char32_t c);
// The same without GLib's Unicode classes.
bool mon_isprint(char32_t c);
// The same test of the first character of UTF-8 text; false for empty or invalid text.
bool mon_gunichar_isprint_get(std::string_view s);

// The room kept in front of the longest abbreviation string, so that what precedes an
// abbreviation can still be looked at.
inline constexpr int kKeyBufferSlack = 256;

class KeyBuffer {
 public:
  // Every byte to 0, size kept: nothing was typed before what comes next.
  void clear();
  void add_byte(char b);         // the oldest byte falls out at the start
  void backspace_byte();         // a zero byte comes in at the start
  // kKeyBufferSlack plus the byte length of the longest
  // abbreviation string anywhere in `main` (disabled folders and every type included); no
  // buffer at all when no abbreviation has a non-empty string. The newest bytes are kept.
  void adjust_size(const FolderList& main);
  void resize(int size);         // the same for a given size; 0 frees the buffer
  void free_buffer();
  // `utf8` is what the layout produced for a key-down. A printable
  // result is appended (a carriage return as byte 13); Backspace then takes off the whole
  // last UTF-8 character. Nothing happens for a key that produced nothing.
  void key_pressed(std::string_view utf8, uint16_t vk);

  std::string_view bytes() const { return {buffer_.data(), buffer_.size()}; }
  int size() const { return static_cast<int>(buffer_.size()); }

 private:
  std::vector<char> buffer_;
};

// The byte length of the longest abbreviation string in `main` (0 when there is none).
size_t mon_longest_abbreviation_string(const FolderList& main);

}  // namespace tolvan
