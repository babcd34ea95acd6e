// Linux program folders: the executable from /proc/self/exe, $XDG_CONFIG_HOME (or ~/.config),
// the installed data folder beside the executable or in the install prefix (or the source
// tree's data folder when Tolvan runs from its build folder), and removable media from
// /sys/block/*/removable of the device that holds a path.
#include "platform/x11/xdg_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/paths.h"

namespace tolvan {
namespace {

namespace fs = std::filesystem;

std::string home_dir() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "";
}

// The nearest existing folder at or above `path`.
std::string existing_ancestor(std::string path) {
  while (!path.empty()) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return path;
    std::string up = parse_out_directory(path);
    if (up == path) break;
    path = up.empty() ? "/" : up;
  }
  return "/";
}

bool read_flag(const fs::path& file) {
  std::ifstream in(file);
  char c = 0;
  return in.get(c) && c == '1';
}

}  // namespace

// True when the block device (a disk or one of its partitions) is removable.
bool XdgFolders::device_is_removable(unsigned long long device) const {
  const dev_t dev = static_cast<dev_t>(device);
  std::error_code ec;
  fs::path link = fs::path(sys_root_) / "dev/block" /
                  (std::to_string(major(dev)) + ":" + std::to_string(minor(dev)));
  fs::path real = fs::canonical(link, ec);
  if (ec) return false;
  if (fs::exists(real / "partition", ec)) real = real.parent_path();
  // <sys>/block/<disk>/removable is where the flag is documented to live.
  fs::path flag = fs::path(sys_root_) / "block" / real.filename() / "removable";
  return read_flag(fs::exists(flag, ec) ? flag : real / "removable");
}

std::string XdgFolders::executable_path() const {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? "" : exe.string();
}

std::string XdgFolders::user_config_dir() const {
  // The XDG rule: a relative $XDG_CONFIG_HOME is invalid and ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
  return path_join(home_dir(), ".config");
}

std::string XdgFolders::installation_data_dir() const {
  std::string exe_dir = parse_out_directory(executable_path());
  std::string beside = path_join(updirify(exe_dir, 1), "share/tolvan");
  if (directory_exists(beside)) return beside;
  const std::string build = TOLVAN_BUILD_DIR;
  const bool in_build_tree = exe_dir == build || exe_dir.rfind(build + "/", 0) == 0;
  if (in_build_tree && directory_exists(TOLVAN_SOURCE_DATA_DIR)) return TOLVAN_SOURCE_DATA_DIR;
  if (directory_exists(TOLVAN_INSTALLED_DATA_DIR)) return TOLVAN_INSTALLED_DATA_DIR;
  return "";
}

std::string XdgFolders::removable_mount_point(const std::string& path) const {
  std::string at = existing_ancestor(path);
  struct stat st {};
  if (::stat(at.c_str(), &st) != 0 || !device_is_removable(st.st_dev)) return "";
  // The mount point is the highest folder above `at` that is still on the same device.
  std::string mount = at;
  while (mount != "/") {
    std::string up = parse_out_directory(mount);
    if (up.empty()) up = "/";
    struct stat ust {};
    if (::stat(up.c_str(), &ust) != 0 || ust.st_dev != st.st_dev) break;
    mount = up;
  }
  return mount;
}

std::string XdgFolders::current_dir() const {
  std::error_code ec;
  fs::path cwd = fs::current_path(ec);
  return ec ? "" : cwd.string();
}

}  // namespace tolvan
