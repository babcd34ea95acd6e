#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

using testing::cli;
using testing::CliRun;

TEST(PrefsCommand, ReadingShowsDefaultsWithoutWritingAnything) {
  TempDir dir;
  CliRun path = cli(dir, {"prefs", "path"});
  EXPECT_EQ(path.status, 0);
  EXPECT_EQ(path.out, dir.file("prefs.lt") + "\n");

  CliRun get = cli(dir, {"prefs", "get", "LAUNCHPAD_HOTKEY"});
  EXPECT_EQ(get.status, 0);
  EXPECT_EQ(get.out, "17 32\n");
  EXPECT_EQ(cli(dir, {"prefs", "get", "delim_chars"}).out, ",.?!()<>[]{}:;\"/\\-' \n\t\n");

  CliRun list = cli(dir, {"prefs", "list"});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out.rfind("trigger_hotkey=17\ndelim_chars=", 0), 0u);
  EXPECT_NE(list.out.find("\nbackup_dir=" + dir.file("backups") + "\n"), std::string::npos);
  EXPECT_NE(list.out.find("\n3=1\nwin_height=577\nv=3.15\n"), std::string::npos);
  EXPECT_FALSE(std::ifstream(dir.file("prefs.lt")).good());
}

TEST(PrefsCommand, SetAndUnsetSaveTheFileSafely) {
  TempDir dir;
  ASSERT_EQ(cli(dir, {"prefs", "set", "play_sound", "1"}).status, 0);
  std::string saved = read_file(dir.file("prefs.lt"));
  EXPECT_EQ(saved.rfind("\"trigger_hotkey\"=\"17\"\r\n", 0), 0u);
  EXPECT_NE(saved.find("\"v\"=\"3.15\"\r\n\"play_sound\"=\"1\"\r\n"), std::string::npos);

  // Keys ignore case, values are stored as given, even across lines.
  ASSERT_EQ(cli(dir, {"prefs", "set", "PLAY_SOUND", "two\nlines \"q\""}).status, 0);
  EXPECT_EQ(cli(dir, {"prefs", "get", "play_sound"}).out, "two\nlines \"q\"\n");
  EXPECT_NE(read_file(dir.file("prefs.lt")).find("\"play_sound\"=\"two\r\nlines \\\"q\\\"\"\r\n"),
            std::string::npos);

  ASSERT_EQ(cli(dir, {"prefs", "unset", "Play_Sound"}).status, 0);
  EXPECT_EQ(read_file(dir.file("prefs.lt")).find("play_sound"), std::string::npos);
  CliRun gone = cli(dir, {"prefs", "get", "play_sound"});
  EXPECT_EQ(gone.status, 1);
  EXPECT_EQ(gone.err, "tolvan-cli: there is no preference named 'play_sound'.\n");
  EXPECT_EQ(cli(dir, {"prefs", "unset", "play_sound"}).status, 1);
  // A defaulted preference comes back at the next load.
  ASSERT_EQ(cli(dir, {"prefs", "unset", "uc_check_days"}).status, 0);
  EXPECT_EQ(cli(dir, {"prefs", "get", "uc_check_days"}).out, "7\n");
}

TEST(PrefsCommand, InvalidFileIsReplacedByDefaultsWithANote) {
  TempDir dir;
  write_file(dir.file("prefs.lt"), "\"a\"=\"1\"\r\n\"cut\"=\"in the mid");
  CliRun get = cli(dir, {"prefs", "get", "a"});
  EXPECT_EQ(get.status, 1);
  EXPECT_NE(get.err.find("is not a valid preferences file; using the defaults."),
            std::string::npos);
  ASSERT_EQ(cli(dir, {"prefs", "set", "k", "v"}).status, 0);
  EXPECT_EQ(read_file(dir.file("prefs.lt")).find("\"a\""), std::string::npos);
  EXPECT_EQ(cli(dir, {"prefs", "get", "k"}).err, "");
}

TEST(PrefsCommand, FailedSaveLeavesTheOldFileAndFails) {
  TempDir dir;
  ASSERT_EQ(cli(dir, {"prefs", "set", "k", "old"}).status, 0);
  const std::string before = read_file(dir.file("prefs.lt"));
  // A file size limit makes the write fail part way, as a full disk would.
  struct rlimit saved {};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = saved;
  limit.rlim_cur = 4096;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  CliRun r = cli(dir, {"prefs", "set", "k", std::string(100000, 'n')});
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("tolvan-cli: the preferences could not be saved: "), std::string::npos);
  EXPECT_EQ(read_file(dir.file("prefs.lt")), before);
  EXPECT_EQ(cli(dir, {"prefs", "get", "k"}).out, "old\n");
}

TEST(PrefsCommand, HelpAtEveryLevelAndClearErrors) {
  TempDir dir;
  EXPECT_NE(cli(dir, {"--help"}).out.find("prefs"), std::string::npos);
  CliRun help = cli(dir, {"prefs", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("unset KEY"), std::string::npos);
  for (const char* sub : {"list", "get", "set", "unset", "path"}) {
    CliRun h = cli(dir, {"prefs", sub, "--help"});
    EXPECT_EQ(h.status, 0) << sub;
    EXPECT_NE(h.out.find(std::string("Usage: tolvan-cli prefs ") + sub), std::string::npos);
  }
  EXPECT_EQ(cli(dir, {"prefs"}).status, 2);
  CliRun unknown = cli(dir, {"prefs", "frob"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("unknown prefs command 'frob'"), std::string::npos);
  CliRun few = cli(dir, {"prefs", "set", "only_key"});
  EXPECT_EQ(few.status, 2);
  EXPECT_NE(few.err.find("prefs set takes 2 arguments, not 1."), std::string::npos);
  EXPECT_EQ(cli(dir, {"prefs", "get", ""}).status, 2);
  EXPECT_FALSE(std::ifstream(dir.file("prefs.lt")).good());
}

}  // namespace
}  // namespace tolvan
