// The abbreviation file writer: the library as Tolvan's XML, byte for byte (attribute
// order, escaping, self-closed elements, the root's marker, embedded TextExpander data).
#pragma once

#include <string>
#include <string_view>

#include "core/result.h"
#include "library/model.h"

namespace tolvan {

// Escapes an attribute value: & < > to entities, CR LF / LF / CR to "&#10;", tab to
// "&#9;", double quote to "&quot;", the escape character to "&#33;".
std::string abbr_htmlize(std::string_view s);
void abbr_htmlize_append(std::string& out, std::string_view s);

// One abbreviation element.
void abbr_dump_abbrev_to_string(const Abbreviation& abbrev, std::string& out);
// One folder subtree: `root` names the element Tolvan (else f), `marker` adds m="1".
void abbr_dump_all_subfolders_and_abbrevs_as_XML(const Folder& folder, std::string& out,
                                                 bool root, bool marker);
// The whole file: the first top-level folder as the root element (with the marker when
// `marker`), the others as f elements after it.
std::string abbr_folder_list_to_xml(const FolderList& list, bool marker = true);

// Writes the file through the safe save, creating its folder first. Use
// abbr_dump_folder_list_to_file of main_list_file.h for the library's own file.
Status abbr_write_folder_list_file(const FolderList& list, const std::string& path,
                                   bool marker = true);

}  // namespace tolvan
