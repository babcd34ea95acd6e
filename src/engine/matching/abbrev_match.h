// AbbrevMatch: one abbreviation whose string ends the key buffer.
#pragma once

#include <string>

#include "library/model.h"

namespace tolvan {

struct AbbrevMatch {
  const Abbreviation* abbreviation = nullptr;  // in the main list, not owned
  const std::string* string = nullptr;         // the matched one of its strings
  int index = 0;                               // its position in its folder's list
  // Set when a waiting abbreviation is released: the releasing delimiter was printable
  // (and so already went into the key buffer), and its UTF-8 byte length.
  bool delimiter_printable = false;
  int delimiter_length = 0;

  friend bool operator==(const AbbrevMatch&, const AbbrevMatch&) = default;
};

}  // namespace tolvan
