// What one row of the abbreviation list shows for a record, where a new record's row goes
// and which row is selected after rows were deleted.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/model.h"
#include "library/sorting.h"

namespace tolvan {


// The text of a column (SortColumn) of the record's row (markup for the abbreviation and
// folder).
std::string abbrev_column_text(const Abbreviation& abbrev, int column);

// The texts of a row; the icons follow the record's type, case and trigger modes.
struct AbbrevRowTexts {
  std::string description;
  std::string abbreviation_markup;  // the joined abbreviation strings, escaped, in bold
  std::string preview;              // the replacement preview
  std::string folder_markup;        // the containing folder's path, escaped
  std::string created;
  std::string modified;

  friend bool operator==(const AbbrevRowTexts&, const AbbrevRowTexts&) = default;
};

AbbrevRowTexts abbrev_row_texts(const Abbreviation& abbrev);

// Pango markup's special characters as entities.
std::string markup_escape(std::string_view text);

// The row a new record of the selected folder is inserted at: for the All row before the
// first row whose record lies in a subfolder (the absolute parent's own abbreviations come
// first), otherwise at the end.
size_t new_abbrev_row_position(const std::vector<const Abbreviation*>& rows,
                               const Folder& selected_folder, bool all_row);

// After deleting the selected rows: the row now at the first deleted row's place, else the
// one before it, else none. `first_selected` is the index of the first selected row before
// the deletion, `rows_left` the number of rows after it.
std::optional<size_t> row_to_select_after_delete(size_t first_selected, size_t rows_left);

}  // namespace tolvan
