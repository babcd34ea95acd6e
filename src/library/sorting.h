// Sorting abbreviations and folders for the views: stable, by a column, ascending or
// descending, ASCII case ignored, empty keys after all others in both orders.
#pragma once

#include <vector>

#include "library/model.h"

namespace tolvan {

// Columns of the abbreviation list.
enum SortColumn : int {
  SORT_BY_DESCRIPTION = 1,
  SORT_BY_ABBREVIATION = 2,
  SORT_BY_FOLDER = 4,
  SORT_BY_CREATED = 5,
  SORT_BY_MODIFIED = 6,
  // Any other column: the display string of the expansion.
};

enum SortOrder : int { SORT_ASCENDING = 0, SORT_DESCENDING = 1 };

void abbr_sort_abbrev_lst(std::vector<Abbreviation*>& list, int column, int order);
void abbr_sort_folder_lst(std::vector<Folder*>& list, int column, int order);

}  // namespace tolvan
