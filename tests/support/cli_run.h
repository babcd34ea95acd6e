// Running tolvan-cli inside a test: its exit status and what it printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/temp_dir.h"

namespace tolvan::testing {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

inline CliRun cli_run(std::vector<std::string> args) {
  std::ostringstream out, err;
  int status = cli::cli_main(args, out, err);
  return {status, out.str(), err.str()};
}

// With the data folder `dir`.
inline CliRun cli(const TempDir& dir, std::vector<std::string> args) {
  args.insert(args.begin(), {"--config-dir", dir.path()});
  return cli_run(std::move(args));
}

}  // namespace tolvan::testing
