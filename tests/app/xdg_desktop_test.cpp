#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>

#include "platform/x11/xdg_autostart.h"
#include "platform/x11/xdg_folders.h"
#include "settings/start_at_login.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::TempDir;

TEST(XdgAutostart, StartAtLoginWritesAndRemovesTheDesktopEntry) {
  TempDir dir;
  XdgAutostart autostart(dir.path());
  RunTimeVariables gvar;
  gvar.set("executable_path", "/opt/my tools/tolvan");
  EXPECT_EQ(get_start_with_windows(autostart), 0);
  EXPECT_EQ(set_start_with_windows(autostart, gvar, 0), 0);  // no entry yet: still success
  ASSERT_EQ(set_start_with_windows(autostart, gvar, kStartWithWindows), 0);
  EXPECT_EQ(autostart.entry_path(), dir.file("autostart/tolvan.desktop"));
  std::string entry = read_file(autostart.entry_path());
  EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
  EXPECT_NE(entry.find("\nExec=\"/opt/my tools/tolvan\" --systray\n"), std::string::npos);
  EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
  EXPECT_EQ(get_start_with_windows(autostart), 4);
  EXPECT_EQ(set_start_with_windows(autostart, gvar, 0), 0);
  EXPECT_FALSE(std::filesystem::exists(autostart.entry_path()));
  EXPECT_EQ(get_start_with_windows(autostart), 0);
}

TEST(XdgAutostart, EntryStartsTheDesktopProgramWhoeverWritesIt) {
  TempDir dir;
  XdgAutostart autostart(dir.path());
  RunTimeVariables gvar;
  gvar.set("executable_path", "/usr/bin/tolvan-cli");
  ASSERT_EQ(set_start_with_windows(autostart, gvar, kStartWithWindows), 0);
  EXPECT_NE(read_file(autostart.entry_path()).find("\nExec=\"/usr/bin/tolvan\" --systray\n"),
            std::string::npos);
  EXPECT_EQ(build_reg_run_value(gvar, true), "\"/usr/bin/tolvan\" --systray");
}

TEST(XdgAutostart, ExecLineEscapesWhatTheDesktopEntryRulesReserve) {
  EXPECT_EQ(autostart_exec_line("/a/b", " --systray"), "\"/a/b\" --systray");
  EXPECT_EQ(autostart_exec_line("/x$y/\"q\"/100%/b\\s", ""),
            "\"/x\\\\$y/\\\\\"q\\\\\"/100%%/b\\\\\\\\s\"");
}

TEST(XdgAutostart, UnwritableFolderIsReportedAsFour) {
  TempDir dir;
  testing::write_file(dir.file("autostart"), "a file where the folder should be");
  XdgAutostart autostart(dir.path());
  RunTimeVariables gvar;
  gvar.set("executable_path", "/t");
  EXPECT_EQ(set_start_with_windows(autostart, gvar, kStartWithWindows), 4);
}

TEST(XdgFolders, ConfigFolderFollowsXdgConfigHome) {
  XdgFolders folders;
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  std::string saved_value = saved ? saved : "";
  ::setenv("XDG_CONFIG_HOME", "/custom/config", 1);
  EXPECT_EQ(folders.user_config_dir(), "/custom/config");
  ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  EXPECT_EQ(folders.user_config_dir(), std::string(std::getenv("HOME")) + "/.config");
  if (saved) ::setenv("XDG_CONFIG_HOME", saved_value.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
}

TEST(XdgFolders, ExecutableAndBuildTreeDataFolder) {
  XdgFolders folders;
  std::string exe = folders.executable_path();
  EXPECT_EQ(std::filesystem::path(exe).filename(), "tests_app");
  // The tests run from the build tree, so the data folder is the source tree's, with the
  // included sets in it.
  EXPECT_EQ(std::filesystem::canonical(folders.installation_data_dir()),
            std::filesystem::canonical(TOLVAN_SOURCE_DIR "/data"));
  EXPECT_TRUE(std::filesystem::exists(folders.installation_data_dir() + "/sets/Examples.tlv"));
  EXPECT_FALSE(folders.current_dir().empty());
}

// A sysfs tree of our own in which the device holding the test's folder is partition 1 of
// disk "sdz", removable or not as the test says.
struct FakeSysfs {
  TempDir sys;
  explicit FakeSysfs(const std::string& path_on_device, const char* removable, bool partition) {
    struct stat st {};
    ::stat(path_on_device.c_str(), &st);
    const std::string disk = sys.file("devices/pci0/block/sdz");
    const std::string node = partition ? disk + "/sdz1" : disk;
    std::filesystem::create_directories(node);
    if (partition) testing::write_file(node + "/partition", "1\n");
    std::filesystem::create_directories(sys.file("block"));
    std::filesystem::create_directory_symlink(disk, sys.file("block/sdz"));
    testing::write_file(disk + "/removable", removable);
    std::filesystem::create_directories(sys.file("dev/block"));
    std::filesystem::create_directory_symlink(
        node, sys.file("dev/block/" + std::to_string(major(st.st_dev)) + ":" +
                       std::to_string(minor(st.st_dev))));
  }
};

dev_t device_of(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_dev;
}

TEST(XdgFolders, RemovableMediumIsDecidedFromTheBlockDeviceAndGivesItsMountPoint) {
  TempDir data;
  for (bool partition : {true, false}) {
    FakeSysfs sys(data.path(), "1\n", partition);
    XdgFolders folders(sys.sys.path());
    // The path need not exist yet: its nearest existing folder decides.
    std::string mount = folders.removable_mount_point(data.file("not/there/yet"));
    ASSERT_FALSE(mount.empty());
    EXPECT_EQ(data.path().rfind(mount, 0), 0u) << mount;
    EXPECT_EQ(device_of(mount), device_of(data.path()));
    if (mount != "/") {
      EXPECT_NE(device_of(std::filesystem::path(mount).parent_path()), device_of(mount));
    }
  }
  FakeSysfs fixed(data.path(), "0\n", true);
  EXPECT_EQ(XdgFolders(fixed.sys.path()).removable_mount_point(data.path()), "");
  // No sysfs entry at all: not removable.
  TempDir empty;
  EXPECT_EQ(XdgFolders(empty.path()).removable_mount_point(data.path()), "");
}

}  // namespace
}  // namespace tolvan
