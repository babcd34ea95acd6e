// SearchBoxState: the search box above the abbreviation list. It shows the placeholder
// "Search..." until it gets the focus, searches on every change the user makes (not on the
// program's own changes of its text), and knows when the list shows a duplicate-conflict
// list instead of a search.
#pragma once

#include <string>
#include <string_view>

namespace tolvan {

inline constexpr const char* kSearchPlaceholder = "Search...";
inline constexpr const char* kSearchTooltip =
    "Ctrl+F. Search descriptions, abbreviations, and replacement text (within the selected "
    "folder).";

// What the view does with the entry and the list.
class SearchBoxView {
 public:
  virtual ~SearchBoxView() = default;
  virtual void set_search_text(const std::string& text) = 0;
  // The Containing Folder column is decided again (the duplicate-search flag changed).
  virtual void search_mode_changed() = 0;
  // The user's text: clear the key buffer, list what contains it.
  virtual void search_for(const std::string& text) = 0;
};

class SearchBoxState {
 public:
  explicit SearchBoxState(SearchBoxView& view) : view_(view) {}

  bool placeholder_showing() const { return placeholder_; }
  bool duplicate_search() const { return duplicate_; }

  // Puts the placeholder back (the folder selection changed).
  void reset();
  void focus_in();
  void focus_out(std::string_view text);
  void text_changed(std::string_view text);
  // The list now shows the records that may conflict with `text`.
  void show_duplicates(const std::string& text);

 private:
  // Changes the entry's text without searching.
  void set_text_quietly(const std::string& text);

  SearchBoxView& view_;
  bool placeholder_ = true;
  bool duplicate_ = false;
  bool programmatic_ = false;
};

}  // namespace tolvan
