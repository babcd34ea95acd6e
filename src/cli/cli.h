// tolvan-cli: the headless companion. Each command group ("prefs", "macro", ...) lives in
// its own file and is listed in the table of main.cpp.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tolvan::cli {

// What every command group gets: its arguments (after the group's name), the data folder
// given with --config-dir (or TOLVAN_CONFIG_DIR; empty when neither), and the streams.
struct Invocation {
  std::vector<std::string> args;
  std::string config_dir;
  std::ostream& out;
  std::ostream& err;
};

// A command group's entry point; returns the process exit status.
using CommandGroup = int (*)(const Invocation&);

struct CommandEntry {
  const char* name;
  const char* summary;
  CommandGroup run;
};

// Runs tolvan-cli with argv-style arguments (without the program name).
int cli_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tolvan::cli
