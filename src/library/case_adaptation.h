// Case adaptation: an adapt-case abbreviation typed in capitals gives its expansion in
// capitals, typed with a capital first letter it asks for the first character of the
// expansion to be capitalised.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "library/model.h"

namespace tolvan {

// The expansion to type for `abbrev` when the user typed `typed`: nullopt for anything but
// a text abbreviation; a copy unless the case mode is CASE_ADAPT; the whole expansion upper-
// cased when the typed text has more than one letter and all its letters (before any digit)
// are upper case; otherwise a copy, setting *capitalize_first when the first letter or digit
// typed is an upper-case letter.
std::optional<std::string> abbr_convert_exp_to_correct_case(std::string_view expansion,
                                                            const Abbreviation& abbrev,
                                                            std::string_view typed,
                                                            bool* capitalize_first);

}  // namespace tolvan
