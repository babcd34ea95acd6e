// Application: Tolvan's start sequence and quit, in their fixed orders, over the named steps
// of the program around it (ProgramSteps), and the state the modules share for one run: the
// command line, the run-time variables, the preferences, the library and the enabled switch.
// It holds no window and no display, so both sequences run headless in tests.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/enabled_switch.h"
#include "app/handover.h"
#include "app/program_steps.h"
#include "core/command_line.h"
#include "core/prompts.h"
#include "library/library.h"
#include "platform/folders.h"
#include "settings/gvar.h"
#include "settings/settings.h"

namespace tolvan {

// The error box of an engine that cannot start.
extern const char* const kEngineStartFailedText;
// The notice shown once per start in portable mode.
extern const char* const kPortableNoticeText;

class Application {
 public:
  // Everything given outlives the application.
  Application(const Folders& folders, ProgramSteps& steps, Prompts& prompts);

  // Tolvan from its start to its quit: the start sequence, the main loop, the quit.
  // Returns the exit status; a second start returns 0 once it handed over.
  int run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);

  // Quit: asks about unapplied changes (Cancel, when `may_cancel`, returns false and
  // everything goes on; without it nothing is asked and they are not applied), then takes
  // everything down in order, saves the preferences and leaves the main loop with `status`.
  bool quit(int status, bool may_cancel = true);

  // What a second start handed over: show the main window, then import the named file.
  void accept_handover(const Handover& handover);

  EnabledSwitch& enabled_switch() { return enabled_; }
  const CommandLine& command_line() const { return command_line_; }
  const RunTimeVariables& gvar() const { return gvar_; }
  RunTimeVariables& gvar() { return gvar_; }
  Settings& prefs() { return prefs_; }
  Library& library() { return library_; }
  bool quitting() const { return quit_done_; }
  // The status the program ends with, once quit.
  int status() const { return status_; }

 private:
  // Steps 2 to 15 of the start; false when the start ended in a quit.
  bool start_first_instance(const ProgramFolders& folders);
  // load_up_users_abbreviations with the configured file.
  void load_up_users_abbreviations();
  // Step 9: the backup that is due, or on a first start the examples.
  void first_start_or_backup();
  // The end of building the main window: the engine, the state, the portable notice.
  bool start_engine();
  void import_file(const std::string& path);

  const Folders& folders_;
  ProgramSteps& steps_;
  Prompts& prompts_;
  std::ostream* err_ = nullptr;
  CommandLine command_line_;
  RunTimeVariables gvar_;
  Settings prefs_;
  Library library_;
  EnabledSwitch enabled_;
  int status_ = 0;
  bool quit_done_ = false;
};

}  // namespace tolvan
