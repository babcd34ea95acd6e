// The times the commands take on the command line ("--now 2025-12-31T23:30:00"): the date
// macros see them instead of the clock.
#pragma once

#include <ctime>
#include <optional>
#include <string_view>

namespace tolvan::cli {

// YYYY-MM-DDTHH:MM:SS as local time, every field with exactly its digits; nullopt when the
// text is not such a time or the time does not exist (2025-02-30, or a time skipped by a
// change to summer time).
std::optional<std::time_t> parse_local_time(std::string_view text);

}  // namespace tolvan::cli
