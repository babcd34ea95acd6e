#include "settings/program_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::TempDir;

// A desktop whose answers the test chooses: one removable medium mounted at `medium`.
class FakeFolders : public Folders {
 public:
  std::string executable_path() const override { return exe; }
  std::string user_config_dir() const override { return config; }
  std::string installation_data_dir() const override { return "/usr/share/tolvan"; }
  std::string removable_mount_point(const std::string& path) const override {
    if (medium.empty() || path.rfind(medium + "/", 0) != 0) return "";
    return medium;
  }
  std::string current_dir() const override { return "/cwd"; }

  std::string exe;
  std::string config = "/home/u/.config";
  std::string medium;
};

// <medium>/Tolvan/app/bin/tolvan with <medium>/Tolvan/app, the usual portable layout.
struct PortableInstall {
  TempDir dir;
  FakeFolders folders;
  std::string root = dir.path() + "/Tolvan";
  PortableInstall() {
    std::filesystem::create_directories(root + "/app/bin");
    folders.exe = root + "/app/bin/tolvan";
    folders.medium = dir.path();
  }
};

TEST(ProgramFolders, NormalInstallationUsesTheUserConfigFolder) {
  FakeFolders folders;
  folders.exe = "/usr/bin/tolvan";
  ProgramFolders f = compute_program_folders(folders, "tolvan", false, "");
  EXPECT_FALSE(f.portable_mode);
  EXPECT_EQ(f.executable_path, "/usr/bin/tolvan");
  EXPECT_EQ(f.installation_dir, "/usr/share/tolvan");
  EXPECT_EQ(f.current_appdata_dir_vanilla, "/home/u/.config");
  EXPECT_EQ(f.current_appdata_dir, "/home/u/.config/tolvan");
  EXPECT_EQ(f.prefs_file, "/home/u/.config/tolvan/prefs.lt");
  EXPECT_EQ(f.old_abbreviations_file, "/home/u/.config/tolvan/abbreviations.xml");
}

TEST(ProgramFolders, PortableModeOnRemovableMediumWithAppFolder) {
  PortableInstall p;
  ProgramFolders f = compute_program_folders(p.folders, "tolvan", true, "");
  ASSERT_TRUE(f.portable_mode);
  EXPECT_EQ(f.portable_drive, p.dir.path());
  EXPECT_EQ(f.installation_dir, p.root + "/app/bin");
  EXPECT_EQ(f.current_appdata_dir, p.root + "/data");
  EXPECT_EQ(f.prefs_file, p.root + "/data/prefs.lt");
  EXPECT_EQ(f.current_appdata_dir_vanilla, "/home/u/.config");
}

TEST(ProgramFolders, PortableModeNeedsFlagMediumAndAppFolder) {
  {
    PortableInstall p;
    EXPECT_FALSE(compute_program_folders(p.folders, "t", false, "").portable_mode);
  }
  {
    PortableInstall p;
    p.folders.medium.clear();  // a fixed disk
    ProgramFolders f = compute_program_folders(p.folders, "t", true, "");
    EXPECT_FALSE(f.portable_mode);
    EXPECT_EQ(f.portable_drive, "");
    EXPECT_EQ(f.current_appdata_dir, "/home/u/.config/tolvan");
  }
  {
    PortableInstall p;
    std::filesystem::rename(p.root + "/app", p.root + "/application");
    p.folders.exe = p.root + "/application/bin/tolvan";
    EXPECT_FALSE(compute_program_folders(p.folders, "t", true, "").portable_mode);
  }
}

TEST(ProgramFolders, ConfigDirOverridesTheDataFolderEvenWhenPortable) {
  PortableInstall p;
  ProgramFolders f = compute_program_folders(p.folders, "t", true, "/tmp/profile");
  EXPECT_TRUE(f.portable_mode);
  EXPECT_EQ(f.current_appdata_dir, "/tmp/profile");
  EXPECT_EQ(f.prefs_file, "/tmp/profile/prefs.lt");

  ::setenv("TOLVAN_CONFIG_DIR", "/from/env", 1);
  EXPECT_EQ(config_dir_override_from(""), "/from/env");
  EXPECT_EQ(config_dir_override_from("/given"), "/given");
  ::unsetenv("TOLVAN_CONFIG_DIR");
  EXPECT_EQ(config_dir_override_from(""), "");
}

TEST(ProgramFolders, MissingExecutableFallsBackToWorkingDirectory) {
  FakeFolders folders;
  ProgramFolders f = compute_program_folders(folders, "./tolvan", false, "");
  EXPECT_EQ(f.executable_dir, "/cwd");
  EXPECT_EQ(f.executable_path, "./tolvan");
}

TEST(RelativifyPath, DropsTheMountPointOfTheProgramsOwnMediumOnly) {
  EXPECT_EQ(relativify_path_if_necessary("/media/usb/tools/x", true, "/media/usb"), "/tools/x");
  EXPECT_EQ(relativify_path_if_necessary("/media/usb//tools/x", true, "/media/usb/"), "/tools/x");
  EXPECT_EQ(relativify_path_if_necessary("/media/usb", true, "/media/usb"), "/");
  EXPECT_EQ(relativify_path_if_necessary("/media/usb2/x", true, "/media/usb"), "/media/usb2/x");
  EXPECT_EQ(relativify_path_if_necessary("/media/other/x", true, "/media/usb"), "/media/other/x");
  EXPECT_EQ(relativify_path_if_necessary("/media/usb/x", false, "/media/usb"), "/media/usb/x");
  EXPECT_EQ(relativify_path_if_necessary("/media/usb/x", true, ""), "/media/usb/x");
  EXPECT_EQ(relativify_path_if_necessary("relative/x", true, "/media/usb"), "relative/x");
}

}  // namespace
}  // namespace tolvan
