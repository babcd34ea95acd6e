// tolvan-cli's top level: global options and dispatch to the command groups.
#include "cli/cli.h"

#include <cstdlib>
#include <iomanip>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"

namespace tolvan::cli {
namespace {

void print_usage(std::ostream& os) {
  os << "Usage: tolvan-cli [--config-dir DIR] COMMAND [ARGUMENTS]\n\n"
        "Tolvan's headless companion: works on Tolvan's files without a display.\n\n"
        "Commands:\n";
  for (const auto& entry : command_table()) {
    os << "  " << std::left << std::setw(10) << entry.name << entry.summary << "\n";
  }
  os << "\nOptions:\n"
        "  --config-dir DIR  use DIR as Tolvan's data folder (also: TOLVAN_CONFIG_DIR)\n"
        "  --help            show this help\n\n"
        "Run 'tolvan-cli COMMAND --help' for a command's own help.\n";
}

constexpr OptionSpec kOptions[] = {{"--config-dir", "a folder"}};

}  // namespace

int cli_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Arguments read(args, {kOptions, UnknownOption::kUnknown, /*options_first=*/true});
  if (read.help()) {
    print_usage(out);
    return 0;
  }
  if (!read.problem().empty()) {
    err << "tolvan-cli: " << read.problem() << "\n";
    if (read.unknown_option()) {
      err << "Run 'tolvan-cli --help' for the list of commands and options.\n";
    }
    return 2;
  }
  const std::vector<std::string>& command = read.positionals();
  if (command.empty()) {
    print_usage(err);
    return 2;
  }
  const char* env = std::getenv("TOLVAN_CONFIG_DIR");
  const std::string config_dir = read.value("--config-dir").value_or(env ? env : "");
  for (const auto& entry : command_table()) {
    if (command[0] == entry.name) {
      Invocation inv{{command.begin() + 1, command.end()}, config_dir, out, err};
      return entry.run(inv);
    }
  }
  err << "tolvan-cli: unknown command '" << command[0] << "'.\n"
      << "Run 'tolvan-cli --help' for the list of commands.\n";
  return 2;
}

}  // namespace tolvan::cli
