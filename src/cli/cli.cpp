// tolvan-cli's top level: global options and dispatch to the command groups.
#include "cli/cli.h"

#include <cstdlib>
#include <iomanip>
#include <ostream>

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

}  // namespace

int cli_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string config_dir;
  if (const char* env = std::getenv("TOLVAN_CONFIG_DIR")) config_dir = env;

  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      print_usage(out);
      return 0;
    } else if (a == "--config-dir") {
      if (i + 1 >= args.size()) {
        err << "tolvan-cli: --config-dir needs a folder.\n";
        return 2;
      }
      config_dir = args[++i];
    } else if (a.rfind("--config-dir=", 0) == 0) {
      config_dir = a.substr(13);
    } else if (!a.empty() && a[0] == '-') {
      err << "tolvan-cli: unknown option '" << a << "'.\n"
          << "Run 'tolvan-cli --help' for the list of commands and options.\n";
      return 2;
    } else {
      break;
    }
  }
  if (i >= args.size()) {
    print_usage(err);
    return 2;
  }
  for (const auto& entry : command_table()) {
    if (args[i] == entry.name) {
      Invocation inv{{args.begin() + static_cast<long>(i) + 1, args.end()}, config_dir, out, err};
      return entry.run(inv);
    }
  }
  err << "tolvan-cli: unknown command '" << args[i] << "'.\n"
      << "Run 'tolvan-cli --help' for the list of commands.\n";
  return 2;
}

}  // namespace tolvan::cli
