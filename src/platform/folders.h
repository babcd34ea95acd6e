// Folders: where the desktop keeps things Tolvan needs to know about at start-up — its own
// executable, the user's configuration folder, the installed data folder, and whether a
// path lies on a removable medium (for portable mode).
#pragma once

#include <string>

namespace tolvan {

class Folders {
 public:
  virtual ~Folders() = default;

  // Full path of the running executable; "" when it cannot be found.
  virtual std::string executable_path() const = 0;
  // The per-user configuration folder ($XDG_CONFIG_HOME, default ~/.config on Linux).
  virtual std::string user_config_dir() const = 0;
  // The installed data folder (where sets/ and help/ live); "" when there is none.
  virtual std::string installation_data_dir() const = 0;
  // The mount point of the removable medium that holds `path` (the portable "drive"), or ""
  // when the path is not on a removable medium. `path` need not exist yet.
  virtual std::string removable_mount_point(const std::string& path) const = 0;
  // The current working directory; "" when it cannot be had.
  virtual std::string current_dir() const = 0;
};

}  // namespace tolvan
