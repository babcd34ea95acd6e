// The one way Tolvan writes a file: into a new temporary file beside the target, flushed
// and synced, then renamed over the target, so a failed save never damages the old file.
#pragma once

#include <string>
#include <string_view>

#include "core/result.h"

namespace tolvan {

// Writes `contents` to `path` safely. On failure the old file (if any) is byte-for-byte
// intact, the temporary file is removed where possible, and the reason is returned.
Status safe_save_file(const std::string& path, std::string_view contents);

// Creates a new, empty file "tlv" + 6 random letters or digits, exclusively and with mode
// 0600, in `path` itself, or in the folder part of `path` when `directory_of` is set.
// Never returns the name of a file that existed before the call.
Result<std::string> temp_filename_get(const std::string& path, bool directory_of);

}  // namespace tolvan
