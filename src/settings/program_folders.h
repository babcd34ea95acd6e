// Tolvan's program folders: where the executable is, where the data folder is (per user, or
// beside the program in portable mode on a removable medium, or a folder given with
// --config-dir / TOLVAN_CONFIG_DIR), and the rule that stores paths on the portable medium
// without their "drive" (mount point).
#pragma once

#include <string>

#include "platform/folders.h"

namespace tolvan {

struct ProgramFolders {
  std::string executable_path;              // the executable's real path, else argument 0
  std::string executable_dir;               // folder of the running executable
  bool portable_mode = false;
  std::string portable_drive;               // mount point of the medium; "" unless portable
  std::string installation_dir;             // portable: executable_dir; else the data folder
  std::string current_appdata_dir;          // the data folder
  std::string current_appdata_dir_vanilla;  // the user's configuration folder itself
  std::string prefs_file;                   // <data folder>/prefs.lt
  std::string old_abbreviations_file;       // <data folder>/abbreviations.xml
};

// Portable mode holds when `portable_flag` (--portable as argument 1) is set, the folder
// <executable dir, two levels up>/app exists and the executable lies on a removable medium.
// `config_dir_override` (when not empty) replaces the data folder.
ProgramFolders compute_program_folders(const Folders& folders, const std::string& argument0,
                                       bool portable_flag,
                                       const std::string& config_dir_override);

// The --config-dir value, else $TOLVAN_CONFIG_DIR, else "".
std::string config_dir_override_from(const std::string& command_line_value);

// In portable mode a path on the program's own medium loses the mount point: with the
// program on /media/usb, /media/usb/tools/x becomes /tools/x. Otherwise unchanged.
std::string relativify_path_if_necessary(const std::string& path, bool portable_mode,
                                         const std::string& portable_drive);

}  // namespace tolvan
