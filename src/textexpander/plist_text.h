// The text of property-list elements: decoding character references when reading,
// escaping when writing.
#pragma once

#include <string>
#include <string_view>

namespace tolvan {

// Decodes character references in one pass (what a reference produces is never examined
// again), without regard to letter case: "&amp;", "&lt;", "&gt;", "&quot;", "&apos;" and
// numeric references ("&#10;", "&#x21;") to characters XML allows. "&#33;" is the "!"
// that XML assigns to it. Any other "&" sequence stays as it is.
std::string te_decode_text(std::string_view raw);

// Escapes "&" (first), "<" and ">" as entities; quotes, line breaks, tabs and everything
// else are written as they are.
std::string te_htmlize(std::string_view s);
void te_htmlize_append(std::string& out, std::string_view s);

}  // namespace tolvan
