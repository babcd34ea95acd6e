#include "launch/launcher.h"

#include <glib.h>

#include <filesystem>
#include <optional>

#include "core/paths.h"
#include "core/strings.h"
#include "engine/macros/date_time.h"
#include "engine/macros/insertion.h"
#include "launch/parameter_words.h"

namespace tolvan {
namespace {

namespace fs = std::filesystem;

bool is_directory(const std::string& path) {
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

bool exists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}

bool is_regular_file(const std::string& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

bool has_scheme(const std::string& location) {
  return g_uri_peek_scheme(location.c_str()) != nullptr;
}

bool is_application_file(const std::string& path) {
  return equals_ignore_case(extract_file_extension(path), ".desktop");
}

// The folder of a path; none for a bare name, which PATH finds.
std::string folder_of(const std::string& path) {
  if (path.find('/') == std::string::npos) return "";
  std::string folder = parse_out_directory(path);
  return folder.empty() ? "/" : folder;
}

}  // namespace

std::string launcher_insertion_macros_execute(std::string_view text, const MacroEnvironment& env) {
  return clipboard_insertion_macro_execute(date_time_insertion_macros_execute(text, env), env);
}

bool open_location(Shell& shell, const std::string& location) {
  return shell.open(location).ok();
}

Launcher::Launcher(Shell& shell, MacroEnvironment env, bool portable_mode, Reporter report)
    : shell_(shell), env_(std::move(env)), portable_mode_(portable_mode), report_(std::move(report)) {}

void Launcher::launch(const Abbreviation& abbreviation, WindowId window) {
  if (!abbr_is_launcher(abbreviation)) return;
  if (LaunchPadWindow* pad = launch_pad_.load(); pad && window != 0 &&
                                                 window == pad->launch_pad_window()) {
    pad->hide_launch_pad_soon();
  }
  Status status;
  switch (abbreviation.type()) {
    case ABBR_TYPE_PROGRAM: status = launch_program(abbreviation.program()); break;
    case ABBR_TYPE_WEBSITE: status = launch_website(abbreviation.website()); break;
    default: return;
  }
  if (!status && report_) report_(status.error());
}

Status Launcher::launch_program(const ProgInfo& program) {
  const std::string& path = program.location;
  if (path.empty()) return Status::success();
  const std::string folder = program.run_in.empty() ? folder_of(path) : program.run_in;

  if (is_directory(path) || (has_scheme(path) && !exists(path))) return shell_.open(path);
  // An application file, an executable file or a name PATH knows; anything else that
  // exists is a document, whose application takes no parameters from a launcher.
  const bool application_file = is_regular_file(path) && is_application_file(path);
  const std::optional<std::string> executable =
      application_file ? std::nullopt : shell_.find_program(path);
  if (!application_file && !executable) {
    if (exists(path)) return shell_.open(path);
    return Error{"Could not start " + path + ": there is no such program, file or folder."};
  }

  auto words = launcher_split_parameters(launcher_insertion_macros_execute(program.parameters, env_));
  if (!words) return Error{words.error()};
  if (application_file) return shell_.launch_application_file(path, *words, folder);
  std::vector<std::string> argv{*executable};
  argv.insert(argv.end(), words->begin(), words->end());
  if (program.run_as_admin && shell_.can_run_as_administrator()) {
    return shell_.start_program_as_administrator(argv, folder);
  }
  return shell_.start_program(argv, folder);
}

Status Launcher::launch_website(const WebsiteInfo& website) {
  if (website.address.empty()) return Status::success();
  const std::string address = launcher_insertion_macros_execute(website.address, env_);
  if (!website.browser.empty()) {
    for (const BrowserInfo& browser : shell_.browsers()) {
      if (!equals_ignore_case(browser.id, website.browser)) continue;
      // A portable library may name a browser this computer does not have.
      if (portable_mode_ && !browser.available) break;
      // A browser removed since the list was read falls back to the default one too.
      if (shell_.open_in_browser(browser.id, address)) return Status::success();
      break;
    }
  }
  return shell_.open(address);
}

}  // namespace tolvan
