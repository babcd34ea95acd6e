// The key buffer's sliding window and what goes into it.
#include "engine/hook/key_buffer.h"

#include <algorithm>
#include <memory>

#include "core/key_buffer.h"
#include "core/utf.h"
#include "library/lookups.h"
#include "platform/vk_codes.h"

namespace tolvan {

bool mon_isprint(char32_t c) {
  // The C locale's upper, lower, digit, punctuation, blank and alphabetic classes: all ASCII.
  if (c >= 0x21 && c <= 0x7E) return true;  // letters, digits and punctuation
  return c == ' ' || c == '\t' || c == '\n';
}

bool mon_gunichar_isprint(char32_t c) { return mon_isprint(c) || unichar_isprint(c); }

bool mon_gunichar_isprint_get(std::string_view s) {
  std::optional<Utf8Char> c = utf8_char_at(s);
  return c && mon_gunichar_isprint(c->value);
}

void KeyBuffer::clear() { std::fill(buffer_.begin(), buffer_.end(), 0); }

void KeyBuffer::add_byte(char b) {
  if (buffer_.empty()) return;
  shift_all_chars_left(buffer_, 1);
  buffer_.back() = b;
}

void KeyBuffer::backspace_byte() { shift_all_chars_right(buffer_, 1); }

size_t mon_longest_abbreviation_string(const FolderList& main) {
  size_t longest = 0;
  for (const Abbreviation* a : abbr_get_all_folders_and_abbrevs_from_folder_list(main).abbreviations) {
    for (const std::string& s : a->abbreviations) longest = std::max(longest, s.size());
  }
  return longest;
}

void KeyBuffer::adjust_size(const FolderList& main) {
  size_t longest = mon_longest_abbreviation_string(main);
  resize(longest == 0 ? 0 : kKeyBufferSlack + static_cast<int>(longest));
}

void KeyBuffer::resize(int size) {
  if (size <= 0) {
    free_buffer();
    return;
  }
  buffer_ = resize_back_buffer(buffer_, static_cast<size_t>(size));
}

void KeyBuffer::free_buffer() { buffer_ = {}; }

void KeyBuffer::key_pressed(std::string_view utf8, uint16_t vk) {
  if (buffer_.empty() || utf8.empty()) return;
  std::optional<Utf8Char> first = utf8_char_at(utf8);
  if (first && mon_gunichar_isprint(first->value == '\r' ? '\n' : first->value)) {
    for (char b : utf8) add_byte(b);
  }
  if (vk == vk::Back) {
    const std::string_view text(buffer_.data(), buffer_.size());
    std::optional<size_t> start = utf8_previous_char_start(text, text.size());
    size_t bytes = start ? text.size() - *start : 1;
    for (size_t i = 0; i < bytes; ++i) backspace_byte();
  }
}

}  // namespace tolvan
