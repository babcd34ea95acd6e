// The TextExpander dictionaries Tolvan builds for its own folders and abbreviations, and
// the reading of the values TextExpander's dictionaries hold.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "library/model.h"
#include "textexpander/kvlist.h"

namespace tolvan {

// The text of a string element, or nullptr.
const std::string* te_string_of(const KvList& dict, std::string_view key);
// The value of an integer or boolean element.
std::optional<int32_t> te_integer_of(const KvList& dict, std::string_view key);

// The snippet's kind: "snippetType", but 1 (formatted text) whenever it holds "richText"
// or "cachedPNGImage"; a snippet without "snippetType" that holds "plainText" is plain
// text (0). -1 when there is no telling.
int te_get_real_snippet_type(const KvList& snippet);

// An abbreviation's snippet dictionary as Tolvan builds it: "label", "abbreviation",
// the type's keys ("snippetType" 0 and "plainText" for text, made from the expansion by
// `to_te_macros`), "abbreviationMode", "modificationDate", "creationDate", "uuidString".
KvList te_snippet_kvlist(const Abbreviation& abbrev, const std::string& uuid,
                         const ModeDefaults& defaults,
                         std::string (*to_te_macros)(std::string_view));
// The abbreviation-specific dictionary: "triggerMode" and "uuidString".
KvList te_abbrev_specific_kvlist(const Abbreviation& abbrev, const std::string& uuid);

// Marks an abbreviation-specific dictionary: its snippet's "abbreviation" holds the
// alternatives joined by "|" (a snippet dictionary Tolvan built), not one abbreviation
// that contains "|" (what TextExpander writes).
void te_mark_alternatives_joined(KvList& abbrev_specific);
bool te_alternatives_joined(const KvList& abbrev_specific);

}  // namespace tolvan
