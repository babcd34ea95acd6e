// The settings file: one record per line, "key"="value", backslashes and double quotes
// escaped, CR LF after every record and for every line feed inside a value (the same bytes on
// every platform). Reading turns CR LF back into LF and also accepts bare LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/result.h"
#include "settings/settings.h"

namespace tolvan {

inline constexpr std::string_view kSettingsOpenError = "Unable to open setting file for reading.";
inline constexpr std::string_view kSettingsInvalidError = "Invalid setting file.";

// The bytes settings_dump_to_file writes for `settings`.
std::string settings_serialize(const Settings& settings);

// Adds the records of a settings file's text to `into`, in file order (a key that occurs
// twice keeps its first position and the later value). On a syntax error `into` is left as
// it was and the error is kSettingsInvalidError.
Status settings_parse(std::string_view text, Settings& into);

// A new list read from `path`.
Result<Settings> settings_load_from_file(const std::string& path);
// The same, adding to `into`; `mtime` (when given) receives the file's modification time in
// seconds since 1970, 0 when the file cannot be examined.
Status settings_load_from_file(const std::string& path, Settings& into, std::int64_t* mtime);

// Creates the target's folder as needed, then writes through
// safe_save_file, so the target is either the old file or the complete new one.
Status settings_dump_to_file(const Settings& settings, const std::string& path);

}  // namespace tolvan
