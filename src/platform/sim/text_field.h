// The simulated application's text field: a text buffer with a caret and a selection that
// reacts to the key messages and characters it receives the way an ordinary edit control
// does (typing over a selection, Backspace, Delete, arrows, Home/End, Shift-selection,
// Ctrl+A/C/X/V through the clipboard).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tolvan::sim {

class TextField {
 public:
  // Reading and writing the clipboard's text for Ctrl+V, Ctrl+C and Ctrl+X; unset means no
  // clipboard. The reader answers nullopt when the clipboard is busy or holds no text.
  std::function<std::optional<std::string>()> read_clipboard;
  std::function<void(const std::string&)> write_clipboard;
  // Reading the PRIMARY selection for Shift+Insert, as X terminals do; unset means none.
  std::function<std::optional<std::string>()> read_primary;

  explicit TextField(std::string_view utf8 = {});

  // Replaces the text; the caret goes to the end, no selection.
  void set_text(std::string_view utf8);
  std::string text() const;
  // The text with "|" at the caret, for showing the field.
  std::string text_with_caret() const;
  // The same with the selection's other end marked "^" when there is a selection.
  std::string text_with_selection() const;

  // A password field: the desktop reports it as secret while it has the focus.
  bool secret() const { return secret_; }
  void set_secret(bool secret) { secret_ = secret; }

  // Positions are in characters.
  size_t caret() const { return caret_; }
  bool has_selection() const { return anchor_ != caret_; }
  size_t selection_start() const { return std::min(anchor_, caret_); }
  size_t selection_end() const { return std::max(anchor_, caret_); }
  std::string selected_text() const;
  void select(size_t anchor, size_t caret);
  // Line and column of the caret, from 0.
  size_t caret_line() const;
  size_t caret_column() const;

  // A key-down message: the keys that act before any character is made.
  void key_down(uint16_t vk, bool shift, bool ctrl);
  // A character message (one UTF-16 unit; surrogate pairs are joined).
  void char_received(char16_t unit);

 private:
  void insert(std::u32string_view s);
  void delete_selection();
  void move_to(size_t position, bool extend);
  size_t line_start(size_t position) const;
  size_t line_end(size_t position) const;
  size_t word_left(size_t position) const;
  size_t word_right(size_t position) const;
  void paste();
  void paste_from(const std::function<std::optional<std::string>()>& read);

  std::u32string text_;
  size_t caret_ = 0;
  size_t anchor_ = 0;
  char16_t high_surrogate_ = 0;
  bool secret_ = false;
};

}  // namespace tolvan::sim
