// Parsing abbreviation-file text in tests, as the loaders do after preparing it, with a
// fixed default time for abbreviations that have none.
#pragma once

#include <string_view>

#include "library/abbrev_reader.h"

namespace tolvan::testing {

inline ParsedLibrary parse(std::string_view text, UidCounter& uids,
                           LoadMode mode = LoadMode::Import) {
  ParseOptions options;
  options.mode = mode;
  options.default_time = {1, 2, 2003, 4, 5, 6};
  return abbr_parse_library_text(abbr_prepare_text_for_parser(text), uids, options);
}

}  // namespace tolvan::testing
