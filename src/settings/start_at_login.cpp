// The start-at-login switch.
#include "settings/start_at_login.h"

namespace tolvan {
namespace {
const char* systray_argument(bool with_systray) { return with_systray ? " --systray" : ""; }
}  // namespace

std::string start_at_login_program(const RunTimeVariables& gvar) {
  const std::string& exe = gvar.get("executable_path");
  const size_t slash = exe.rfind('/');
  return slash == std::string::npos ? std::string("tolvan") : exe.substr(0, slash + 1) + "tolvan";
}

int get_start_with_windows(const Autostart& autostart) {
  return autostart.is_enabled() ? kStartWithWindows : 0;
}

int set_start_with_windows(Autostart& autostart, const RunTimeVariables& gvar, int flags) {
  Status status = (flags & kStartWithWindows)
                      ? autostart.enable(start_at_login_program(gvar), systray_argument(true))
                      : autostart.disable();
  return status.ok() ? 0 : kStartWithWindows;
}

std::string build_reg_run_value(const RunTimeVariables& gvar, bool with_systray) {
  return "\"" + start_at_login_program(gvar) + "\"" + systray_argument(with_systray);
}

}  // namespace tolvan
