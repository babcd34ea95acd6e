// Folders on Linux: /proc/self/exe, the XDG base directories, and /sys/block for removable
// media.
#pragma once

#include "platform/folders.h"

namespace tolvan {

class XdgFolders : public Folders {
 public:
  std::string executable_path() const override;
  std::string user_config_dir() const override;
  std::string installation_data_dir() const override;
  std::string removable_mount_point(const std::string& path) const override;
  std::string current_dir() const override;
};

}  // namespace tolvan
