#include <gtest/gtest.h>
#include <stdlib.h>

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
  // The tests run from the build tree, so the data folder is the source tree.
  EXPECT_EQ(std::filesystem::canonical(folders.installation_data_dir()),
            std::filesystem::canonical(TOLVAN_SOURCE_DIR));
  EXPECT_FALSE(folders.current_dir().empty());
}

TEST(XdgFolders, RemovableMediumIsDecidedFromTheBlockDevice) {
  XdgFolders folders;
  // Pseudo file systems have no block device, so they are never removable media; a path
  // that does not exist yet is judged by its nearest existing folder.
  EXPECT_EQ(folders.removable_mount_point("/proc/self"), "");
  EXPECT_EQ(folders.removable_mount_point("/proc/no/such/file"), "");
}

}  // namespace
}  // namespace tolvan
