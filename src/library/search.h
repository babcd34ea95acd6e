// Searching abbreviations by description, abbreviation strings and expansion text (the
// search window and the editor's duplicate check).
#pragma once

#include <string_view>
#include <vector>

#include "library/model.h"

namespace tolvan {

enum SearchFlags : unsigned {
  SEARCH_DESCRIPTION = 1,
  SEARCH_ABBREVIATION = 2,
  SEARCH_EXPANSION = 4,          // text abbreviations only
  SEARCH_SUBFOLDERS = 8,
  SEARCH_WHOLE_FIELD = 16,       // the field must equal the text, not just contain it
  SEARCH_CASE_SENSITIVE = 32,
  // For abbreviation strings only: case-sensitive exactly when that abbreviation's case
  // mode is CASE_SENSITIVE.
  SEARCH_ABBREV_OWN_CASE = 64,
  SEARCH_FIRST_ONLY = 128,
};

// The matching abbreviations, each once, skipping `excluded`. Candidates: with folder
// nullptr every abbreviation of `sandbox`; with SEARCH_SUBFOLDERS the folder and its
// descendants; otherwise the folder's own abbreviations.
std::vector<Abbreviation*> abbr_find_abbrevs_containing_string(const FolderList& sandbox,
                                                               const Folder* folder,
                                                               std::string_view text,
                                                               const Abbreviation* excluded,
                                                               unsigned flags);

}  // namespace tolvan
