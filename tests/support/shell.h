// Running a helper script from a test: quoting and the command's output.
#pragma once

#include <string>
#include <utility>

namespace tolvan::testing {

// `s` in single quotes for sh.
std::string shell_quoted(const std::string& s);
// The command's exit status (as pclose gives it) and what it printed on both streams.
std::pair<int, std::string> run_command(const std::string& command);

}  // namespace tolvan::testing
