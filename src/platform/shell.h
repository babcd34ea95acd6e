// Shell: how Tolvan hands things to the desktop: programs started with their arguments,
// files, folders and addresses opened with the user's default applications, application
// (.desktop) files launched, addresses opened in a chosen web browser, and the list of the
// browsers installed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/result.h"

namespace tolvan {

// One installed web browser.
struct BrowserInfo {
  std::string id;          // how launchers name it (an application id such as "firefox.desktop")
  std::string name;        // as menus show it
  std::string executable;  // the program the browser runs, as its entry names it
  bool available = false;  // the program exists on this computer
};

class Shell {
 public:
  virtual ~Shell() = default;

  // Starts argv[0] (looked up on PATH when it holds no "/") with the other elements as its
  // arguments, in `folder` (Tolvan's own when empty), without waiting for it.
  virtual Status start_program(const std::vector<std::string>& argv, const std::string& folder) = 0;
  // Opens a file, folder or address (with a scheme, e.g. "https://...") with the
  // application the user chose for its type.
  virtual Status open(const std::string& location) = 0;
  // Launches an application file (.desktop) with `arguments` as the files or addresses it
  // opens; relative file names are taken in `folder`.
  virtual Status launch_application_file(const std::string& path,
                                         const std::vector<std::string>& arguments,
                                         const std::string& folder) = 0;
  // Opens `address` in the browser `browser_id` (one of browsers()).
  virtual Status open_in_browser(const std::string& browser_id, const std::string& address) = 0;

  // The applications that open web addresses, fresh on every call.
  virtual std::vector<BrowserInfo> browsers() = 0;
  // The one the user chose for web addresses, when there is one.
  virtual std::optional<BrowserInfo> default_browser() = 0;

  // The full path of a program found on PATH (or `name` itself when it holds a "/" and is
  // an executable file); nullopt when there is none.
  virtual std::optional<std::string> find_program(const std::string& name) = 0;
  // The name the desktop shows for a program or application file (its entry's Name), to
  // suggest a name for a new launcher; nullopt when no entry describes it.
  virtual std::optional<std::string> program_description(const std::string& path) = 0;
  // Whether programs can be started with administrator rights (pkexec is installed).
  virtual bool can_run_as_administrator() = 0;
  // Starts argv with administrator rights in `folder`, the desktop asking for the password.
  virtual Status start_program_as_administrator(const std::vector<std::string>& argv,
                                                const std::string& folder) = 0;
};

}  // namespace tolvan
