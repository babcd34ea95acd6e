// The property-list writer: values, dictionaries and arrays as property-list XML, either
// indented with tabs (whole documents) or on one line (the dictionaries embedded in the
// abbreviation file). The reader reads back everything written here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "textexpander/kvlist.h"
#include "textexpander/plist_text.h"

namespace tolvan {

// What a whole document begins with, up to and including "<plist version=\"1.0\">".
extern const std::string_view kPlistDocumentHeader;

// One value. With `newline` it starts on a new line indented by `depth` tabs; the
// contents of a dictionary or array go one level deeper (depth 0 stays 0: nothing is
// indented anywhere).
std::string te_kvlist_value_to_string(const KvValue& value, bool newline, int depth);
// The entries of a list: each key (unless `keys_omitted`) and its value. With `wrap`
// they are put in a dict element at `depth` and the keys and values go one deeper.
std::string te_kvlist_to_xml_string(const KvList& list, bool keys_omitted, bool wrap,
                                    bool newline, int depth);
// The same, appended to `out`: large documents are written into one string.
void te_kvlist_append_xml(std::string& out, const KvList& list, bool keys_omitted, bool wrap,
                          bool newline, int depth);
// Each dictionary wrapped in its own dict element.
std::string te_plist_to_xml_string(const std::vector<KvList>& dicts, bool newline, int depth);

// A whole document: the header, then the list as the top-level dictionary, every key and
// value on its own line indented by tabs, then "\n</dict>\n</plist>\n".
std::string te_kvlist_to_plist_document(const KvList& list);

// The one-line embedded form of the abbreviation file:
// "<textexpander><dict><key>...</key>...</dict></textexpander>", the element named after
// `file_type` (te_kvlist_type_to_xml_name). Carriage returns are written as "&#13;" so
// that the abbreviation file's XML parser keeps them. Appends to `out`.
void te_dump_kvlist(std::string& out, const KvList& list, int file_type);

}  // namespace tolvan
