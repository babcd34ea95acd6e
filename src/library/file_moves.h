// Moving and copying whole library files: renames that never replace an existing file
// (moving a library aside, moving backups) and copies written through the safe save.
#pragma once

#include <string>

#include "core/result.h"

namespace tolvan {

// Renames `from` to `to`, failing (EEXIST) when `to` exists; the error is the system's text.
Status rename_no_replace(const std::string& from, const std::string& to);

// Copies the file's bytes to `to` through the safe save (which replaces `to`).
Status copy_file_safely(const std::string& from, const std::string& to);

// Gives the file the second name `to` without replacing anything there: a hard link when
// the file system allows it (works even for a file Tolvan cannot read), else a copy.
Status keep_file_as(const std::string& from, const std::string& to);

}  // namespace tolvan
