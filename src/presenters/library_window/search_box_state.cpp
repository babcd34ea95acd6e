#include "presenters/library_window/search_box_state.h"

namespace tolvan {

void SearchBoxState::set_text_quietly(const std::string& text) {
  programmatic_ = true;
  view_.set_search_text(text);
  programmatic_ = false;
}

void SearchBoxState::reset() {
  placeholder_ = true;
  set_text_quietly(kSearchPlaceholder);
}

void SearchBoxState::focus_in() {
  if (!placeholder_) return;
  set_text_quietly("");
  placeholder_ = false;
}

void SearchBoxState::focus_out(std::string_view text) {
  if (!text.empty()) return;
  placeholder_ = true;
  set_text_quietly(kSearchPlaceholder);
}

void SearchBoxState::text_changed(std::string_view text) {
  duplicate_ = false;
  view_.search_mode_changed();
  if ((placeholder_ && text == kSearchPlaceholder) || programmatic_) return;
  placeholder_ = false;
  view_.search_for(std::string(text));
}

void SearchBoxState::show_duplicates(const std::string& text) {
  placeholder_ = false;
  set_text_quietly(text);
  duplicate_ = true;
  view_.search_mode_changed();
}

}  // namespace tolvan
