#include "presenters/library_window/abbrev_rows.h"

#include "library/abbrev_strings.h"

namespace tolvan {

std::string markup_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string abbrev_column_text(const Abbreviation& abbrev, int column) {
  switch (column) {
    case SORT_BY_DESCRIPTION: return abbrev.description;
    case SORT_BY_ABBREVIATION:
      return "<b>" + markup_escape(abbr_abbrev_lst_to_string(abbrev.abbreviations)) + "</b>";
    case SORT_BY_EXPANSION: return abbr_replacement_preview(abbrev);
    case SORT_BY_FOLDER: return markup_escape(abbr_get_containing_folder_string(abbrev, true, false));
    case SORT_BY_CREATED: return abbr_time_to_display_string(&abbrev.created);
    case SORT_BY_MODIFIED: return abbr_time_to_display_string(&abbrev.modified);
    default: return {};
  }
}

AbbrevRowTexts abbrev_row_texts(const Abbreviation& abbrev) {
  return {abbrev_column_text(abbrev, SORT_BY_DESCRIPTION), abbrev_column_text(abbrev, SORT_BY_ABBREVIATION),
          abbrev_column_text(abbrev, SORT_BY_EXPANSION),     abbrev_column_text(abbrev, SORT_BY_FOLDER),
          abbrev_column_text(abbrev, SORT_BY_CREATED),     abbrev_column_text(abbrev, SORT_BY_MODIFIED)};
}

size_t new_abbrev_row_position(const std::vector<const Abbreviation*>& rows,
                               const Folder& selected_folder, bool all_row) {
  if (!all_row) return rows.size();  // a folder lists only its own abbreviations
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i]->folder != &selected_folder) return i;
  }
  return rows.size();
}

std::optional<size_t> row_to_select_after_delete(size_t first_selected, size_t rows_left) {
  if (first_selected < rows_left) return first_selected;
  if (first_selected > 0 && first_selected - 1 < rows_left) return first_selected - 1;
  return std::nullopt;
}

}  // namespace tolvan
