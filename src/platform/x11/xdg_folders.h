// Folders on Linux: /proc/self/exe, the XDG base directories, and /sys/block for removable
// media.
#pragma once

#include <string>
#include <utility>

#include "platform/folders.h"

namespace tolvan {

class XdgFolders : public Folders {
 public:
  // `sys_root` is where sysfs is mounted; tests hand in a folder of their own.
  explicit XdgFolders(std::string sys_root = "/sys") : sys_root_(std::move(sys_root)) {}

  std::string executable_path() const override;
  std::string user_config_dir() const override;
  std::string installation_data_dir() const override;
  std::string removable_mount_point(const std::string& path) const override;
  std::string current_dir() const override;

 private:
  bool device_is_removable(unsigned long long device) const;

  std::string sys_root_;
};

}  // namespace tolvan
