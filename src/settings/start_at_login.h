// Starting Tolvan at login (the Windows-era "start with Windows" switch): not a preference
// but an entry of the desktop, reached through the Autostart interface.
#pragma once

#include <string>

#include "platform/autostart.h"
#include "settings/gvar.h"

namespace tolvan {

inline constexpr int kStartWithWindows = 4;

// 4 when the start-at-login entry exists and can be read, else 0.
int get_start_with_windows(const Autostart& autostart);

// The program the entry starts: `tolvan` in the folder of executable_path, so that the
// entry starts the desktop program also when its companion tolvan-cli writes it.
std::string start_at_login_program(const RunTimeVariables& gvar);

// With flag 4: creates or replaces the entry running that program with " --systray";
// without it: removes the entry (a missing entry counts as success). 0 on success, 4 on any
// failure.
int set_start_with_windows(Autostart& autostart, const RunTimeVariables& gvar, int flags);

// The command the entry runs: the quoted program, then " --systray" when asked for.
std::string build_reg_run_value(const RunTimeVariables& gvar, bool with_systray);

}  // namespace tolvan
