#include "presenters/library_window/abbrev_list_presenter.h"

namespace tolvan {

std::string sort_column_pref(int column) {
  switch (column) {
    case SORT_BY_ABBREVIATION: return "a";
    case SORT_BY_EXPANSION: return "e";
    case SORT_BY_CREATED: return "c";
    case SORT_BY_MODIFIED: return "m";
    default: return "d";  // the Containing Folder column is not kept: it may not show next time
  }
}

void AbbrevListPresenter::header_clicked(int column) {
  if (column == sort_.column) {
    sort_.descending = !sort_.descending;
    return;
  }
  if (column == SORT_BY_FOLDER) remembered_ = sort_;
  sort_ = {column, false};
}

bool AbbrevListPresenter::update_columns(const FolderColumnContext& context) {
  const ListSortState before = sort_;
  columns_.created = prefs_.get_int("created_col") != 0;
  columns_.modified = prefs_.get_int("modified_col") != 0;
  columns_.folder = prefs_.get_int("contfol_col") != 0 &&
                    (context.all_row_selected || context.duplicate_search);
  if ((sort_.column == SORT_BY_CREATED && !columns_.created) ||
      (sort_.column == SORT_BY_MODIFIED && !columns_.modified)) {
    sort_ = {SORT_BY_DESCRIPTION, false};
  }
  if (sort_.column == SORT_BY_FOLDER && !columns_.folder) sort_ = remembered_;
  return !(before == sort_);
}

void AbbrevListPresenter::load_from_prefs(const FolderColumnContext& context) {
  const std::string& column = prefs_.get("a_sc");
  sort_.column = column == "a"                                     ? SORT_BY_ABBREVIATION
                 : column == "e"                                   ? SORT_BY_EXPANSION
                 : column == "c" && prefs_.get_int("created_col")  ? SORT_BY_CREATED
                 : column == "m" && prefs_.get_int("modified_col") ? SORT_BY_MODIFIED
                                                                   : SORT_BY_DESCRIPTION;
  sort_.descending = prefs_.get("a_so") == "desc";
  update_columns(context);
}

void AbbrevListPresenter::save_to_prefs() const {
  prefs_.set("a_sc", sort_column_pref(sort_.column));
  prefs_.set("a_so", sort_.descending ? "desc" : "asc");
}

void AbbrevListPresenter::sort_records(std::vector<Abbreviation*>& records) const {
  abbr_sort_abbrev_lst(records, sort_.column, sort_order());
}

size_t AbbrevListPresenter::position_after_edit(const std::vector<const Abbreviation*>& rows,
                                                size_t row) const {
  const std::string key = abbr_sort_key(*rows[row], sort_.column);
  auto key_at = [&](size_t i) { return abbr_sort_key(*rows[i], sort_.column); };
  if (row > 0 && abbr_sort_keys_equal(key, key_at(row - 1))) return row;
  if (row + 1 < rows.size() && abbr_sort_keys_equal(key, key_at(row + 1))) return row;
  size_t others = 0;  // index among the rows without the edited one
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i == row) continue;
    if (abbr_sort_key_before(key, key_at(i), sort_order())) return others;
    ++others;
  }
  return others;
}

}  // namespace tolvan
