// A launcher's parameters as the words a program receives: split as a POSIX shell splits
// words (blanks separate, single quotes keep everything, double quotes keep all but the
// escapes \" \\ \$ \` and a backslash-newline, a backslash outside quotes keeps the next
// character, # at the start of a word begins a comment), without expanding anything.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace tolvan {

// No words for empty or blank parameters; an error in Tolvan's words for a quotation that
// is never closed, a backslash at the very end, or a NUL character.
Result<std::vector<std::string>> launcher_split_parameters(std::string_view parameters);

}  // namespace tolvan
