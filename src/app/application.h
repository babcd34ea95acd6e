// The application object: Tolvan's start sequence, step by step, and the state the modules
// share for one run (the run-time variables and the preferences).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "platform/folders.h"
#include "settings/gvar.h"
#include "settings/settings.h"

namespace tolvan {

class Application {
 public:
  explicit Application(const Folders& folders) : folders_(folders) {}

  // Runs Tolvan with `argv` (argument 0 is the program); returns the exit status. For now
  // the run is: command line, program folders, preferences (defaults, upgrades), quit
  // (which saves the preferences).
  int run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);

  const CommandLine& command_line() const { return command_line_; }
  const RunTimeVariables& gvar() const { return gvar_; }
  const Settings& prefs() const { return prefs_; }

 private:
  // gvar_set_all, prefs_load (defaults, upgrades), the library and sync file locations.
  void load_preferences(const std::string& argument0);
  // _quit_: saves the preferences; the remaining teardown joins as modules arrive.
  int quit(int status, std::ostream& err);

  const Folders& folders_;
  CommandLine command_line_;
  RunTimeVariables gvar_;
  Settings prefs_;
};

}  // namespace tolvan
