// The property-list reader, written for the documents TextExpander writes and for the
// dictionaries embedded in the abbreviation file: the document header check, then the
// first dictionary, scanned as text tag by tag (no general XML parser). Values come back
// as the text the elements hold; te_kvlist_convert_strings_to_data turns dates, integers
// and booleans into values.
#pragma once

#include <string_view>

#include "core/result.h"
#include "textexpander/kvlist.h"

namespace tolvan {

// The first top-level dictionary of `text`. With `header_expected` the text must begin
// with a property-list document header (else "Header validation failed."); without it
// (embedded dictionaries) it is searched from the start. Anything after that dictionary
// is ignored. Fails with the reader's message at the first error.
Result<KvList> te_importer_handle_snippet_file_data(std::string_view text, bool header_expected);

// The length of the document header that `text` begins with (compared without regard to
// case; LF or CR LF line ends, either Apple public identifier), or 0 when it has none.
std::size_t te_plist_header_length(std::string_view text);

}  // namespace tolvan
