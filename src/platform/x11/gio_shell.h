// GioShell: the Shell on a Linux desktop, through GLib and GIO: programs started with
// g_spawn (reaped by GLib, so none is left a zombie, and without Tolvan's own descriptors),
// the default applications and browsers of the XDG MIME associations (mimeapps.list and
// the .desktop files), and pkexec for administrator rights. Every child gets the user's
// environment as child_environment() cleans it.
#pragma once

#include "platform/shell.h"

namespace tolvan {

class GioShell final : public Shell {
 public:
  Status start_program(const std::vector<std::string>& argv, const std::string& folder) override;
  Status open(const std::string& location) override;
  Status launch_application_file(const std::string& path, const std::vector<std::string>& arguments,
                                 const std::string& folder) override;
  Status open_in_browser(const std::string& browser_id, const std::string& address) override;
  std::vector<BrowserInfo> browsers() override;
  std::optional<BrowserInfo> default_browser() override;
  std::optional<std::string> find_program(const std::string& name) override;
  std::optional<std::string> program_description(const std::string& path) override;
  bool can_run_as_administrator() override;
  Status start_program_as_administrator(const std::vector<std::string>& argv,
                                        const std::string& folder) override;
};

}  // namespace tolvan
