// RecordingShell: a Shell that starts nothing and writes down what it was asked, with the
// browsers, programs and pkexec that a test gives it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace tolvan::sim {

struct ShellCall {
  enum Kind { Start, StartAsAdministrator, Open, LaunchApplicationFile, OpenInBrowser };
  Kind kind;
  std::vector<std::string> arguments;  // argv, or the location / file / browser and address
  std::string folder;

  bool operator==(const ShellCall&) const = default;
};

class RecordingShell final : public Shell {
 public:
  std::vector<ShellCall> calls;
  std::vector<BrowserInfo> installed_browsers;
  std::string default_browser_id;             // one of installed_browsers, or none
  std::map<std::string, std::string> programs;  // on PATH: name -> full path
  std::map<std::string, std::string> descriptions;  // path -> what the desktop calls it
  bool pkexec_installed = false;
  bool opening_fails = false;  // open() answers an error
  bool browsers_fail = false;  // open_in_browser() answers an error, as for a removed browser

  Status start_program(const std::vector<std::string>& argv, const std::string& folder) override;
  Status open(const std::string& location) override;
  Status launch_application_file(const std::string& path, const std::vector<std::string>& arguments,
                                 const std::string& folder) override;
  // Fails for a browser that is not installed, and when browsers_fail.
  Status open_in_browser(const std::string& browser_id, const std::string& address) override;
  std::vector<BrowserInfo> browsers() override { return installed_browsers; }
  std::optional<BrowserInfo> default_browser() override;
  // A name with "/" is found when it names an executable file; others through `programs`.
  std::optional<std::string> find_program(const std::string& name) override;
  std::optional<std::string> program_description(const std::string& path) override;
  bool can_run_as_administrator() override { return pkexec_installed; }
  Status start_program_as_administrator(const std::vector<std::string>& argv,
                                        const std::string& folder) override;
};

}  // namespace tolvan::sim
