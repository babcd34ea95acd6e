// The HTML listing of a folder's abbreviations (the export window's "HTML Files" choice).
#pragma once

#include <string>

#include "library/model.h"

namespace tolvan {

// A table of abbreviation and replacement preview, sorted by the joined abbreviation
// string; previews longer than 80 bytes are cut to 77 bytes and "...". Abbreviations
// without a preview are left out.
std::string abbr_folder_as_HTML(const Folder& folder, bool include_subfolders);

}  // namespace tolvan
