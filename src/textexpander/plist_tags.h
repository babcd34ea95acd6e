// The tag scanner of the property-list reader: a tag is the text from a "<" to the next
// ">"; its name says which element it is (a value type code of kvlist.h) and its form
// whether it opens, closes or is an empty element.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "textexpander/kvlist.h"

namespace tolvan {

enum TagKind : int {
  TAG_MALFORMED = 0,  // an empty name, or a name followed by neither ">" nor "/>"
  TAG_OPEN = 1,       // <string>
  TAG_CLOSE = 2,      // </string>
  TAG_EMPTY = 3,      // <true/>
};

struct PlistTag {
  std::string_view text;  // from "<" to ">" (to the end of the input when there is none)
  std::size_t end = 0;    // the offset just past the tag
  KvType code = KV_UNKNOWN;
  TagKind kind = TAG_MALFORMED;
};

// "key" 2, "array" 3, "string" 4, "data" 5, "date" 6, "integer" 7, "real" 8, "dict" 10,
// "true" 11, "false" 12, without regard to case; anything else KV_UNKNOWN.
KvType te_el_name_to_type(std::string_view name);

// The first tag at or after `from`; the text between tags is skipped.
std::optional<PlistTag> te_next_tag(std::string_view text, std::size_t from);

}  // namespace tolvan
