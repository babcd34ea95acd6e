// The simulated text field's editing rules.
#include "platform/sim/text_field.h"

#include <algorithm>

#include "core/utf.h"
#include "platform/vk_codes.h"

namespace tolvan::sim {

TextField::TextField(std::string_view utf8) { set_text(utf8); }

void TextField::set_text(std::string_view utf8) {
  text_ = utf8_to_u32(utf8);
  caret_ = anchor_ = text_.size();
}

std::string TextField::text() const { return u32_to_utf8(text_); }

std::string TextField::text_with_caret() const {
  std::u32string marked = text_;
  marked.insert(caret_, 1, U'|');
  return u32_to_utf8(marked);
}

std::string TextField::text_with_selection() const {
  std::u32string marked = text_;
  if (has_selection() && anchor_ > caret_) {
    marked.insert(anchor_, 1, U'^');
    marked.insert(caret_, 1, U'|');
  } else {
    marked.insert(caret_, 1, U'|');
    if (has_selection()) marked.insert(anchor_, 1, U'^');
  }
  return u32_to_utf8(marked);
}

std::string TextField::selected_text() const {
  return u32_to_utf8(std::u32string_view(text_).substr(selection_start(), selection_end() - selection_start()));
}

void TextField::select(size_t anchor, size_t caret) {
  anchor_ = std::min(anchor, text_.size());
  caret_ = std::min(caret, text_.size());
}

size_t TextField::caret_line() const {
  return static_cast<size_t>(std::count(text_.begin(), text_.begin() + caret_, U'\n'));
}

size_t TextField::caret_column() const { return caret_ - line_start(caret_); }

size_t TextField::line_start(size_t position) const {
  while (position > 0 && text_[position - 1] != U'\n') --position;
  return position;
}

size_t TextField::line_end(size_t position) const {
  while (position < text_.size() && text_[position] != U'\n') ++position;
  return position;
}

namespace {
bool is_word_char(char32_t c) { return unichar_isalnum(c) || c == U'_'; }
}  // namespace

size_t TextField::word_left(size_t position) const {
  while (position > 0 && !is_word_char(text_[position - 1])) --position;
  while (position > 0 && is_word_char(text_[position - 1])) --position;
  return position;
}

size_t TextField::word_right(size_t position) const {
  while (position < text_.size() && is_word_char(text_[position])) ++position;
  while (position < text_.size() && !is_word_char(text_[position])) ++position;
  return position;
}

void TextField::move_to(size_t position, bool extend) {
  caret_ = std::min(position, text_.size());
  if (!extend) anchor_ = caret_;
}

void TextField::insert(std::u32string_view s) {
  delete_selection();
  text_.insert(caret_, s);
  caret_ += s.size();
  anchor_ = caret_;
}

void TextField::delete_selection() {
  if (!has_selection()) return;
  size_t start = selection_start();
  text_.erase(start, selection_end() - start);
  caret_ = anchor_ = start;
}

void TextField::paste() { paste_from(read_clipboard); }

void TextField::paste_from(const std::function<std::optional<std::string>()>& read) {
  if (!read) return;
  std::optional<std::string> text = read();
  if (!text) return;
  // An edit control keeps the line breaks; ours are single line feeds.
  std::u32string pasted;
  for (char32_t c : utf8_to_u32(*text))
    if (c != U'\r') pasted.push_back(c);
  insert(pasted);
}

void TextField::key_down(uint16_t vk, bool shift, bool ctrl) {
  switch (vk) {
    case vk::Insert:
      if (shift && !ctrl) paste_from(read_primary);
      break;
    case vk::Left:
      if (has_selection() && !shift) move_to(selection_start(), false);
      else if (caret_ > 0) move_to(ctrl ? word_left(caret_) : caret_ - 1, shift);
      break;
    case vk::Right:
      if (has_selection() && !shift) move_to(selection_end(), false);
      else move_to(ctrl ? word_right(caret_) : caret_ + 1, shift);
      break;
    case vk::Home:
      move_to(ctrl ? 0 : line_start(caret_), shift);
      break;
    case vk::End:
      move_to(ctrl ? text_.size() : line_end(caret_), shift);
      break;
    case vk::Up:
    case vk::Down: {
      size_t column = caret_column();
      size_t start = line_start(caret_);
      size_t target;
      if (vk == vk::Up) {
        if (start == 0) { move_to(0, shift); break; }
        target = line_start(start - 1);
      } else {
        size_t end = line_end(caret_);
        if (end == text_.size()) { move_to(end, shift); break; }
        target = end + 1;
      }
      move_to(std::min(target + column, line_end(target)), shift);
      break;
    }
    case vk::Delete:
      if (has_selection()) delete_selection();
      else if (caret_ < text_.size()) text_.erase(caret_, 1);
      break;
    default:
      break;
  }
}

void TextField::char_received(char16_t unit) {
  char32_t c = unit;
  if (utf16_is_high_surrogate(unit)) {
    high_surrogate_ = unit;
    return;
  }
  if (utf16_is_low_surrogate(unit)) {
    if (!high_surrogate_) return;
    c = utf16_join(high_surrogate_, unit);
  }
  high_surrogate_ = 0;
  switch (c) {
    case 0x08:
      if (has_selection()) delete_selection();
      else if (caret_ > 0) {
        text_.erase(caret_ - 1, 1);
        anchor_ = --caret_;
      }
      return;
    case 0x0D: insert(U"\n"); return;
    case 0x09: insert(U"\t"); return;
    case 0x01: select(0, text_.size()); return;
    case 0x03:
      if (has_selection() && write_clipboard) write_clipboard(selected_text());
      return;
    case 0x18:
      if (has_selection() && write_clipboard) {
        write_clipboard(selected_text());
        delete_selection();
      }
      return;
    case 0x16: paste(); return;
    default:
      if (c < 0x20 || c == 0x7F) return;  // Escape and other control characters: nothing
      insert(std::u32string(1, c));
  }
}

}  // namespace tolvan::sim
