// Computing the program folders and detecting portable mode.
#include "settings/program_folders.h"

#include <cstdlib>

#include "core/paths.h"

namespace tolvan {

ProgramFolders compute_program_folders(const Folders& folders, const std::string& argument0,
                                       bool portable_flag,
                                       const std::string& config_dir_override) {
  ProgramFolders f;
  std::string exe = folders.executable_path();
  f.executable_dir = exe.empty() ? folders.current_dir() : parse_out_directory(exe);
  // The real path rather than argument 0: start-at-login needs it absolute.
  f.executable_path = exe.empty() ? argument0 : exe;

  const std::string portable_root = updirify(f.executable_dir, 2);
  if (portable_flag && directory_exists(path_join(portable_root, "app"))) {
    f.portable_drive = folders.removable_mount_point(f.executable_dir);
    f.portable_mode = !f.portable_drive.empty();
  }
  if (!f.portable_mode) f.portable_drive.clear();

  f.current_appdata_dir_vanilla = folders.user_config_dir();
  if (f.portable_mode) {
    f.installation_dir = f.executable_dir;
    f.current_appdata_dir = path_join(portable_root, "data");
  } else {
    f.installation_dir = folders.installation_data_dir();
    f.current_appdata_dir = path_join(f.current_appdata_dir_vanilla, "tolvan");
  }
  if (!config_dir_override.empty()) f.current_appdata_dir = config_dir_override;
  f.prefs_file = path_join(f.current_appdata_dir, "prefs.lt");
  f.old_abbreviations_file = path_join(f.current_appdata_dir, "abbreviations.xml");
  return f;
}

std::string config_dir_override_from(const std::string& command_line_value) {
  if (!command_line_value.empty()) return command_line_value;
  const char* env = std::getenv("TOLVAN_CONFIG_DIR");
  return env ? env : "";
}

std::string relativify_path_if_necessary(const std::string& path, bool portable_mode,
                                         const std::string& portable_drive) {
  if (!portable_mode || portable_drive.empty() || path.empty()) return path;
  // The path's "drive" is the portable mount point exactly when the path lies below it.
  std::string drive = portable_drive;
  while (drive.size() > 1 && drive.back() == kDirSep) drive.pop_back();
  if (drive == DIR_SEP) return path;  // a medium mounted at / gives no shorter path
  if (path.compare(0, drive.size(), drive) != 0) return path;
  if (path.size() > drive.size() && path[drive.size()] != kDirSep) return path;
  size_t rest = drive.size();
  while (rest < path.size() && path[rest] == kDirSep) ++rest;
  return std::string(DIR_SEP) + path.substr(rest);
}

}  // namespace tolvan
