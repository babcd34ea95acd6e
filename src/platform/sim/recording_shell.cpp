#include "platform/sim/recording_shell.h"

#include <unistd.h>

#include <filesystem>

namespace tolvan::sim {

Status RecordingShell::start_program(const std::vector<std::string>& argv,
                                     const std::string& folder) {
  calls.push_back({ShellCall::Start, argv, folder});
  return Status::success();
}

Status RecordingShell::open(const std::string& location) {
  calls.push_back({ShellCall::Open, {location}, ""});
  if (opening_fails) return Error{"Could not open " + location};
  return Status::success();
}

Status RecordingShell::launch_application_file(const std::string& path,
                                               const std::vector<std::string>& arguments,
                                               const std::string& folder) {
  std::vector<std::string> recorded{path};
  recorded.insert(recorded.end(), arguments.begin(), arguments.end());
  calls.push_back({ShellCall::LaunchApplicationFile, recorded, folder});
  return Status::success();
}

Status RecordingShell::open_in_browser(const std::string& browser_id, const std::string& address) {
  for (const BrowserInfo& browser : installed_browsers) {
    if (browser.id == browser_id && !browsers_fail) {
      calls.push_back({ShellCall::OpenInBrowser, {browser_id, address}, ""});
      return Status::success();
    }
  }
  return Error{"The browser " + browser_id + " is not installed."};
}

std::optional<BrowserInfo> RecordingShell::default_browser() {
  for (const BrowserInfo& browser : installed_browsers) {
    if (browser.id == default_browser_id) return browser;
  }
  return std::nullopt;
}

std::optional<std::string> RecordingShell::find_program(const std::string& name) {
  if (name.find('/') != std::string::npos) {
    std::error_code ignored;
    if (access(name.c_str(), X_OK) == 0 && !std::filesystem::is_directory(name, ignored)) return name;
    return std::nullopt;
  }
  auto found = programs.find(name);
  if (found == programs.end()) return std::nullopt;
  return found->second;
}

std::optional<std::string> RecordingShell::program_description(const std::string& path) {
  auto found = descriptions.find(path);
  if (found == descriptions.end()) return std::nullopt;
  return found->second;
}

Status RecordingShell::start_program_as_administrator(const std::vector<std::string>& argv,
                                                      const std::string& folder) {
  if (!pkexec_installed) return Error{"pkexec is not installed."};
  calls.push_back({ShellCall::StartAsAdministrator, argv, folder});
  return Status::success();
}

}  // namespace tolvan::sim
