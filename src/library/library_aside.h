// Moving a library file aside, for when the user points sync at a folder that already holds
// a library and chooses to overwrite it.
#pragma once

#include <ctime>
#include <string>

namespace tolvan {

// Renames <folder>/abbreviations.tlv to <folder>/abbreviations_backup<n><Mar15_2012_14_05_09>.tlv
// for the first n from 0 to 2499 whose name is free (never replacing a file). `now` is the
// local time of the stamp (nullptr: now). Returns whether it was moved.
bool abbr_backup_abbrev_file_in_dir(const std::string& folder, const std::tm* now = nullptr);

}  // namespace tolvan
