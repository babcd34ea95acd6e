// Tolvan's command line: --import FILE, --systray (anywhere, any case), --portable (first
// argument only) and --config-dir DIR. Anything else is refused with the usage text.
#pragma once

#include <string>
#include <vector>

#include "core/result.h"

namespace tolvan {

struct CommandLine {
  std::string import_path;  // "" when no --import was given
  bool systray = false;     // --systray anywhere, in any case (should_start_in_systray)
  bool portable = false;    // --portable was argument 1 (portable mode still needs the medium)
  std::string config_dir;   // --config-dir DIR; "" when not given
  bool help = false;        // --help: show kCommandLineUsage and exit
};

extern const char* const kCommandLineUsage;

// True when any element of argv, argument 0 included, equals --systray ignoring case.
bool should_start_in_systray(const std::vector<std::string>& argv);

// The import path as given on the command line, completed with the working directory: a
// path whose folder part differs from `cwd` (ignoring case) becomes <cwd>/<path>. Absolute
// paths are kept as they are.
std::string import_path_from_argument(const std::string& argument, std::string cwd);

// Parses argv (argument 0 is the program). `cwd` completes the import path. An unknown
// option or a stray argument is an error whose message ends with the usage text.
Result<CommandLine> parse_command_line(const std::vector<std::string>& argv,
                                       const std::string& cwd);

}  // namespace tolvan
