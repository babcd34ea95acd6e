// ProgramSteps: what Tolvan's start and quit sequences ask of the program around them, one
// named step each. The desktop program does them with its windows, the engine and the
// session; tests record the order. Steps whose windows or modules do not exist yet are done
// by the desktop program as empty calls, so the sequences already stand in their final order.
#pragma once

#include <string>

#include "app/enabled_switch.h"
#include "core/command_line.h"
#include "settings/program_folders.h"

namespace tolvan {

class ProgramSteps : public KeyboardHookSwitch {
 public:
  // Step 1: the single-instance check, per data folder. True when this process is the
  // first instance; false when another one runs and has been handed the command line.
  virtual bool claim_single_instance(const CommandLine& command_line,
                                     const ProgramFolders& folders) = 0;
  // The toolkit first: on this desktop the tray, the hand-over listener and the tooltip
  // are the toolkit's windows and sources, so they follow it.
  virtual void init_toolkit() = 0;
  virtual void create_tray() = 0;
  virtual void listen_for_second_instances() = 0;
  virtual void create_tooltip_window() = 0;
  virtual void register_hotkeys() = 0;
  // Part of loading the library: TextExpander mode's reshaping of both lists, the sync
  // module told of the new main list, and the folders' menu hotkeys.
  virtual void reshape_lists_for_textexpander() = 0;
  virtual void tell_sync_main_list_loaded() = 0;
  virtual void register_folder_hotkeys() = 0;
  virtual void show_tray_icon() = 0;
  virtual void build_main_window(bool show) = 0;
  virtual bool start_engine() = 0;
  virtual void expand_top_folder() = 0;
  virtual void show_launchpad() = 0;
  virtual void import_te_snippets(const std::string& path) = 0;
  virtual void import_abbrevs(const std::string& path) = 0;
  virtual void arm_update_check() = 0;  // after 5000 ms
  virtual void arm_sync_poll() = 0;  // after 2000 ms
  // Runs the main loop until leave_main_loop.
  virtual void run_main_loop() = 0;

  // Called by the hand-over and the tray.
  virtual void show_main_window() = 0;

  // Quit.
  virtual bool has_unapplied_changes() = 0;         // the Apply button is sensitive
  virtual void apply_changes() = 0;                 // flush the sandbox, save the library
  virtual void destroy_tooltip_window() = 0;
  virtual void stop_engine() = 0;
  virtual void destroy_main_window() = 0;
  virtual void remove_tray() = 0;
  virtual void stop_listening() = 0;
  virtual void destroy_launchpad() = 0;
  virtual void unregister_hotkeys() = 0;
  virtual void leave_main_loop() = 0;
};

}  // namespace tolvan
