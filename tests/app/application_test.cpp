#include "app/application.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

class FakeFolders : public Folders {
 public:
  explicit FakeFolders(std::string config) : config_(std::move(config)) {}
  std::string executable_path() const override { return exe; }
  std::string user_config_dir() const override { return config_; }
  std::string installation_data_dir() const override { return "/opt/tolvan/share/tolvan"; }
  std::string removable_mount_point(const std::string& path) const override {
    return !medium.empty() && path.rfind(medium + "/", 0) == 0 ? medium : "";
  }
  std::string current_dir() const override { return "/work"; }

  std::string exe = "/opt/tolvan/bin/tolvan";
  std::string medium;  // mount point of the one removable medium, if any

 private:
  std::string config_;
};

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

RunResult run(Application& app, std::vector<std::string> args) {
  args.insert(args.begin(), "tolvan");
  std::ostringstream out, err;
  int status = app.run(args, out, err);
  return {status, out.str(), err.str()};
}

const char* const kFirstStartFile =
    "\"trigger_hotkey\"=\"17\"\r\n"
    "\"delim_chars\"=\",.?!()<>[]{}:;\\\"/\\\\-' \r\n\t\"\r\n"
    "\"uc_check\"=\"1\"\r\n"
    "\"uc_check_days\"=\"7\"\r\n"
    "\"launchpad_hotkey\"=\"17 32\"\r\n"
    "\"launchpad_enable\"=\"1\"\r\n"
    "\"norm_view\"=\"1\"\r\n"
    "\"contfol_col\"=\"1\"\r\n"
    "\"remember_sel_folder\"=\"1\"\r\n"
    "\"auto_backup\"=\"1\"\r\n"
    "\"limit_total_backup\"=\"1\"\r\n"
    "\"backup_max_count\"=\"10\"\r\n"
    "\"backup_dir\"=\"@/tolvan/backups\"\r\n"
    "\"show_bottom_buttons\"=\"0\"\r\n"
    "\"output_method\"=\"0\"\r\n"
    "\"clipboard_more_than_chars\"=\"3500\"\r\n"
    "\"terminal_classes\"=\"XTerm;UXTerm;URxvt;Rxvt;Gnome-terminal;gnome-terminal-server;konsole;Xfce4-terminal;"
    "Alacritty;kitty;Tilix;Terminator;st-256color;foot;org.wezfurlong.wezterm;Lxterminal;Mate-terminal;qterminal;"
    "terminology;Sakura;Eterm;Termite;io.elementary.terminal;Terminal\"\r\n"
    "\"3\"=\"1\"\r\n"
    "\"win_height\"=\"577\"\r\n"
    "\"v\"=\"3.15\"\r\n";

std::string first_start_file(const std::string& config) {
  std::string expected = kFirstStartFile;
  expected.replace(expected.find('@'), 1, config);
  return expected;
}

TEST(Application, FirstStartWritesExactlyTheDefaultsFileAndExitsZero) {
  TempDir dir;
  FakeFolders folders(dir.path());
  Application app(folders);
  RunResult r = run(app, {});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(read_file(dir.file("tolvan/prefs.lt")), first_start_file(dir.path()));
  EXPECT_EQ(app.gvar().get("executable_path"), "/opt/tolvan/bin/tolvan");
  EXPECT_EQ(app.gvar().get("installation_dir"), "/opt/tolvan/share/tolvan");
  EXPECT_EQ(app.gvar().get("abbreviations_file"), dir.path() + "/tolvan/abbreviations.tlv");
  EXPECT_EQ(app.gvar().get("backup_srsly"), "1");

  // The next start keeps the file as it is.
  Application second(folders);
  EXPECT_EQ(run(second, {"--systray"}).status, 0);
  EXPECT_TRUE(second.command_line().systray);
  EXPECT_EQ(read_file(dir.file("tolvan/prefs.lt")), first_start_file(dir.path()));
}

TEST(Application, ConfigDirOptionAndEnvironmentChooseTheDataFolder) {
  TempDir dir;
  FakeFolders folders(dir.file("unused"));
  Application app(folders);
  ASSERT_EQ(run(app, {"--config-dir", dir.file("profile")}).status, 0);
  EXPECT_TRUE(testing::read_file(dir.file("profile/prefs.lt")).find("\"3\"=\"1\"") !=
              std::string::npos);

  ::setenv("TOLVAN_CONFIG_DIR", dir.file("env").c_str(), 1);
  Application from_env(folders);
  RunResult r = run(from_env, {});
  ::unsetenv("TOLVAN_CONFIG_DIR");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(from_env.gvar().get("prefs_file"), dir.file("env/prefs.lt"));
  EXPECT_FALSE(read_file(dir.file("env/prefs.lt")).empty());
}

TEST(Application, OldFileIsUpgradedAndItsValuesKept) {
  TempDir dir;
  write_file(dir.file("prefs.lt"),
             "\"win_width\"=\"753\"\r\n\"win_height\"=\"900\"\r\n\"play_sound\"=\"1\"\r\n");
  FakeFolders folders(dir.file("none"));
  Application app(folders);
  ASSERT_EQ(run(app, {"--config-dir", dir.path()}).status, 0);
  EXPECT_EQ(app.prefs().get("win_width"), "796");
  EXPECT_EQ(app.prefs().get("play_sound"), "1");
  EXPECT_EQ(app.prefs().get("show_bottom_buttons"), "1");
  std::string saved = read_file(dir.file("prefs.lt"));
  EXPECT_EQ(saved.rfind("\"win_width\"=\"796\"\r\n\"win_height\"=\"900\"\r\n\"play_sound\"=\"1\"\r\n", 0), 0u);
}

TEST(Application, PortableStartKeepsDataOnTheMediumAndPathsWithoutItsMountPoint) {
  TempDir stick;  // stands for a USB medium mounted at stick.path()
  std::filesystem::create_directories(stick.file("Tolvan/app/bin"));
  FakeFolders folders(stick.file("home-config"));
  folders.exe = stick.file("Tolvan/app/bin/tolvan");
  folders.medium = stick.path();
  Application app(folders);
  ASSERT_EQ(run(app, {"--portable"}).status, 0);
  EXPECT_TRUE(portable_mode(app.gvar()));
  EXPECT_EQ(app.gvar().get("installation_dir"), stick.file("Tolvan/app/bin"));
  EXPECT_EQ(app.gvar().get("prefs_file"), stick.file("Tolvan/data/prefs.lt"));
  EXPECT_EQ(app.prefs().get("backup_dir"), "/Tolvan/data/backups");
  EXPECT_NE(read_file(stick.file("Tolvan/data/prefs.lt")).find("\"backup_dir\"=\"/Tolvan/data/backups\"\r\n"),
            std::string::npos);

  // Without --portable first the same installation uses the user's folder.
  Application normal(folders);
  ASSERT_EQ(run(normal, {"--systray", "--portable"}).status, 0);
  EXPECT_FALSE(portable_mode(normal.gvar()));
  EXPECT_EQ(normal.gvar().get("prefs_file"), stick.file("home-config/tolvan/prefs.lt"));
}

TEST(Application, BadCommandLineGetsUsageAndNothingIsWritten) {
  TempDir dir;
  FakeFolders folders(dir.path());
  Application app(folders);
  RunResult r = run(app, {"--frobnicate"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("unknown option '--frobnicate'"), std::string::npos);
  EXPECT_NE(r.err.find("Usage: tolvan"), std::string::npos);
  EXPECT_FALSE(std::ifstream(dir.file("tolvan/prefs.lt")).good());

  Application help(folders);
  RunResult h = run(help, {"--help"});
  EXPECT_EQ(h.status, 0);
  EXPECT_NE(h.out.find("--import FILE"), std::string::npos);
}

TEST(Application, UnsavablePreferencesAreReportedAndTheOldFileKept) {
  TempDir dir;
  // The data folder's name is taken by a file: nothing can be saved there.
  write_file(dir.file("blocked"), "not a folder");
  FakeFolders folders(dir.path());
  Application app(folders);
  RunResult r = run(app, {"--config-dir", dir.file("blocked")});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("the preferences could not be saved"), std::string::npos);
  EXPECT_EQ(read_file(dir.file("blocked")), "not a folder");
}

}  // namespace
}  // namespace tolvan
