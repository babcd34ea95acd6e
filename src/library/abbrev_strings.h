// The library's text forms: the joined abbreviation string and its inverse, folder paths,
// the containing-folder text and the one-line display of what an abbreviation does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "library/model.h"

namespace tolvan {

// The alternatives joined by "|", each "|" inside an alternative doubled: {"a|b", "c"}
// gives "a||b|c". No alternatives give "".
std::string abbr_abbrev_lst_to_string(const std::vector<std::string>& abbreviations);
// The inverse, scanning left to right: "||" is a "|" inside the current alternative, a
// single "|" ends it; empty alternatives are dropped.
std::vector<std::string> abbr_get_lst_of_abbrevs_from_string(std::string_view s);

// The folder's name preceded by the names of its ancestors, each followed by "\" (" \ "
// when spaced), stopping before the top of the tree (the absolute parent), before
// `stop_at`, or at an ancestor without a name. The absolute parent alone gives its name.
std::string abbr_get_full_folder_path_string(const Folder& folder, const Folder* stop_at,
                                             bool spaced);
// The abbreviation's folder name, or its unspaced full path; with markup wrapped in
// <span foreground="blue">...</span>.
std::string abbr_get_containing_folder_string(const Abbreviation& abbrev, bool full_path,
                                              bool markup);
// The expansion (text), the location (program launcher), the web address (website
// launcher), or the kind of an unsupported snippet.
std::string abbr_abbrev_exp_to_display_string(const Abbreviation& abbrev);

// The kind of TextExpander snippet an abbreviation's general TextExpander data describes:
// "Plain text", "Formatted text / pictures" (also whenever it holds richText or
// cachedPNGImage), "AppleScript", "Shell script", "JavaScript", "Formatted text (HTML)"
// (the later kinds), or "Unknown".
std::string abbr_te_snippet_kind(const Abbreviation& abbrev);

// The list's one-line "Replacement Preview": a text abbreviation's first line without
// carriage returns, followed by "..." when a line break follows; "Launch %s" with a
// launcher's location or address ("" when that is empty); for an unsupported snippet the
// note that its kind is not supported.
std::string abbr_replacement_preview(const Abbreviation& abbrev);

}  // namespace tolvan
