// What the commands that work on the configured Tolvan share: the preferences loaded as
// the program loads them, the library as it loads it at start, and the program's message
// boxes answered on a terminal.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/instance_lock.h"
#include "cli/cli.h"
#include "core/prompts.h"
#include "library/library.h"
#include "library/main_list_file.h"
#include "settings/gvar.h"
#include "settings/settings.h"

namespace tolvan::cli {

struct Session {
  // Preferences from the configured folder; a bad file means the defaults.
  explicit Session(const Invocation& inv);
  // The library file (the configured one when `file` is empty) as the program loads it at
  // start, with a sandbox copy.
  LoadOutcome load_library(const std::string& file = "");
  // The configured library file into the main list only, for commands that only read it
  // (a sandbox copy of a large library costs as much again).
  LoadOutcome load_main_list();
  // Takes the lock the program holds while it runs on the data folder, for commands that
  // change the library: a running program would write its own copy over their work. False,
  // with the reason on `err`, when the program (or another command) holds it.
  bool lock_data_folder(std::ostream& err);
  // Makes the sandbox the library: the main list takes it, the file is written and a
  // backup made, as the program's Apply does. False when the file could not be written.
  bool apply_sandbox();

  Settings prefs;
  RunTimeVariables gvar;
  Library library;
  // Errors and questions go to stderr and are answered No; information is kept here.
  std::vector<std::string> infos;
  StreamPrompts prompts;

 private:
  std::unique_ptr<InstanceLock> lock_;
};

}  // namespace tolvan::cli
