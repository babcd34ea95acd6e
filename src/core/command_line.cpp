// Parsing Tolvan's command line.
#include "core/command_line.h"

#include "core/paths.h"
#include "core/strings.h"

namespace tolvan {

const char* const kCommandLineUsage =
    "Usage: tolvan [--portable] [--systray] [--import FILE] [--config-dir DIR]\n"
    "\n"
    "  --portable        run from a removable medium, keeping the data beside the program\n"
    "                    (only as the first argument)\n"
    "  --systray         start with the main window hidden\n"
    "  --import FILE     import an abbreviation file or a .textexpander file\n"
    "  --config-dir DIR  keep preferences and library in DIR (also: TOLVAN_CONFIG_DIR)\n"
    "  --help            show this help\n";

bool should_start_in_systray(const std::vector<std::string>& argv) {
  for (const auto& a : argv) {
    if (equals_ignore_case(a, "--systray")) return true;
  }
  return false;
}

std::string import_path_from_argument(const std::string& argument, std::string cwd) {
  if (!argument.empty() && argument.front() == kDirSep) return argument;
  // A working directory ending in separators loses them (the root keeps its own).
  while (cwd.size() > 1 && cwd.back() == kDirSep) cwd.pop_back();
  if (cwd.empty() || equals_ignore_case(parse_out_directory(argument), cwd)) return argument;
  return path_join(cwd, argument);
}

Result<CommandLine> parse_command_line(const std::vector<std::string>& argv,
                                       const std::string& cwd) {
  CommandLine line;
  line.systray = should_start_in_systray(argv);
  auto refuse = [](const std::string& why) {
    return Error{"tolvan: " + why + "\n\n" + kCommandLineUsage};
  };
  for (size_t i = 1; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (equals_ignore_case(a, "--import")) {
      // Without a following argument --import is ignored.
      if (i + 1 < argv.size()) line.import_path = import_path_from_argument(argv[++i], cwd);
    } else if (equals_ignore_case(a, "--systray")) {
      // already noted
    } else if (equals_ignore_case(a, "--portable")) {
      line.portable = line.portable || i == 1;  // elsewhere it has no effect
    } else if (a == "--config-dir") {
      if (i + 1 >= argv.size()) return refuse("--config-dir needs a folder.");
      line.config_dir = argv[++i];
    } else if (a.rfind("--config-dir=", 0) == 0) {
      line.config_dir = a.substr(13);
    } else if (a == "--help" || a == "-h") {
      line.help = true;
    } else if (!a.empty() && a[0] == '-') {
      return refuse("unknown option '" + a + "'.");
    } else {
      return refuse("unexpected argument '" + a + "'.");
    }
  }
  return line;
}

}  // namespace tolvan
