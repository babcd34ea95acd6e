// AbbrevListPresenter: the abbreviation list's sort state and header clicks, its optional
// columns, the sort settings kept in the preferences, and where an edited row belongs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "library/model.h"
#include "library/sorting.h"
#include "presenters/library_window/abbrev_rows.h"
#include "settings/settings.h"

namespace tolvan {

struct ListSortState {
  int column = SORT_BY_DESCRIPTION;
  bool descending = false;
  friend bool operator==(const ListSortState&, const ListSortState&) = default;
};

struct OptionalColumns {
  bool folder = false;
  bool created = false;
  bool modified = false;
  friend bool operator==(const OptionalColumns&, const OptionalColumns&) = default;
};

// What decides whether the Containing Folder column shows.
struct FolderColumnContext {
  bool all_row_selected = false;
  bool duplicate_search = false;
};

class AbbrevListPresenter {
 public:
  explicit AbbrevListPresenter(Settings& prefs) : prefs_(prefs) {}

  const ListSortState& sort() const { return sort_; }
  int sort_order() const { return sort_.descending ? SORT_DESCENDING : SORT_ASCENDING; }
  const OptionalColumns& columns() const { return columns_; }

  // The header of `column` was clicked: the current column flips its direction, another
  // column sorts ascending (choosing the Containing Folder column remembers the current one).
  void header_clicked(int column);

  // Re-decides the optional columns from the preferences and the context; a hidden column
  // that was sorted by gives way (Created and Last Modified to Description ascending, the
  // Containing Folder to the remembered column). Returns whether the sort changed.
  bool update_columns(const FolderColumnContext& context);

  // The preferences' sort and columns, before the window is first shown.
  void load_from_prefs(const FolderColumnContext& context);
  // a_sc and a_so, when the window is destroyed.
  void save_to_prefs() const;

  // Sorts records by the current column and direction.
  void sort_records(std::vector<Abbreviation*>& records) const;

  // Where the edited row at `row` belongs in `rows` (the list's order, the edited record
  // included): it stays when its key equals a neighbour's; otherwise it goes before the
  // first other row it sorts before, or to the end. The answer is the row's new index.
  size_t position_after_edit(const std::vector<const Abbreviation*>& rows, size_t row) const;

 private:
  Settings& prefs_;
  ListSortState sort_;
  ListSortState remembered_;  // before the Containing Folder column was chosen
  OptionalColumns columns_;
};

// The preference values of a sort column: "d", "a", "e", "c", "m".
std::string sort_column_pref(int column);

}  // namespace tolvan
