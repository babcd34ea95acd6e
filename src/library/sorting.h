// Sorting abbreviations and folders for the views: stable, by a column, ascending or
// descending, ASCII case ignored, empty keys after all others in both orders.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "library/model.h"

namespace tolvan {

// Columns of the abbreviation list.
enum SortColumn : int {
  SORT_BY_DESCRIPTION = 1,
  SORT_BY_ABBREVIATION = 2,
  SORT_BY_EXPANSION = 3,  // the replacement preview
  SORT_BY_FOLDER = 4,
  SORT_BY_CREATED = 5,
  SORT_BY_MODIFIED = 6,
  // Any other column sorts as SORT_BY_EXPANSION.
};

enum SortOrder : int { SORT_ASCENDING = 0, SORT_DESCENDING = 1 };

// The key a record sorts by in `column`.
std::string abbr_sort_key(const Abbreviation& abbrev, int column);
// Whether key `a` comes before key `b` in `order` (ASCII case ignored, empty keys last).
bool abbr_sort_key_before(std::string_view a, std::string_view b, int order);
bool abbr_sort_keys_equal(std::string_view a, std::string_view b);

void abbr_sort_abbrev_lst(std::vector<Abbreviation*>& list, int column, int order);
void abbr_sort_folder_lst(std::vector<Folder*>& list, int column, int order);

}  // namespace tolvan
