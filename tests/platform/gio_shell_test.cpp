// The real shell without a display: programs and application files started with their
// arguments, in their folder, with a clean environment, and never left as zombies.
#include "platform/x11/gio_shell.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::TempDir;
using testing::read_file;
using testing::write_file;

// Sets an environment variable for the test's duration.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

struct Scene {
  Scene() {
    record = dir.file("record.out");
    recorder = dir.file("recorder");
    write_file(recorder, "#!/bin/sh\necho $$ >'" + record + ".pid'\n{ echo \"cwd=$(pwd)\"; for a in \"$@\"; do echo \"arg=$a\"; done;"
                         " echo \"startup=${DESKTOP_STARTUP_ID-none}\"; } >'" + record + ".tmp'\n"
                         "/bin/mv '" + record + ".tmp' '" + record + "'\n");
    chmod(recorder.c_str(), 0755);
    mkdir(dir.file("run in").c_str(), 0755);
  }
  // What the recorder wrote, once it has (the child runs on its own).
  std::string recorded() {
    for (int i = 0; i < 500 && access(record.c_str(), F_OK) != 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return read_file(record);
  }
  TempDir dir;
  std::string record;
  std::string recorder;
  GioShell shell;
};

// The state letter of a process ("" once it is gone).
std::string process_state(const std::string& pid) {
  std::ifstream stat("/proc/" + pid + "/stat");
  std::string id, name, state;
  stat >> id >> name >> state;
  return state;
}

// Children of this process that have ended but were never waited for.
int zombie_children() {
  int zombies = 0;
  DIR* proc = opendir("/proc");
  while (dirent* entry = readdir(proc)) {
    std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
    std::string pid, name, state;
    long parent = 0;
    if (!(stat >> pid >> name >> state >> parent)) continue;
    if (parent == getpid() && state == "Z") ++zombies;
  }
  closedir(proc);
  return zombies;
}

TEST(GioShell, AProgramGetsItsWordsItsFolderAndACleanEnvironmentAndIsNotLeftAZombie) {
  Scene s;
  ScopedEnv own_start("DESKTOP_STARTUP_ID", "tolvan-own");
  ASSERT_TRUE(s.shell.start_program({s.recorder, "two words", "", "$HOME"}, s.dir.file("run in")));
  EXPECT_EQ(s.recorded(), "cwd=" + s.dir.file("run in") +
                              "\narg=two words\narg=\narg=$HOME\nstartup=none\n");
  // Once the program has ended, nothing of it is left waiting for Tolvan.
  std::string pid = read_file(s.record + ".pid");
  pid.erase(pid.find_last_not_of('\n') + 1);
  for (int i = 0; i < 500 && !process_state(pid).empty() && process_state(pid) != "Z"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(zombie_children(), 0);
}

TEST(GioShell, WhatCannotStartSaysWhy) {
  Scene s;
  Status missing = s.shell.start_program({s.dir.file("no-such-program")}, "");
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().find("no-such-program"), std::string::npos) << missing.error();
  EXPECT_FALSE(s.shell.start_program({s.recorder}, s.dir.file("no-such-folder")));
  EXPECT_FALSE(s.shell.start_program({}, ""));
  EXPECT_FALSE(s.shell.launch_application_file(s.recorder, {}, ""));
}

TEST(GioShell, AnApplicationFileGetsTheParametersAsFilesOfTheFolder) {
  Scene s;
  const std::string app = s.dir.file("viewer.desktop");
  write_file(app, "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + s.recorder + " %F\n");
  ASSERT_TRUE(s.shell.launch_application_file(app, {"a.png", "/srv/b c.png"}, s.dir.file("run in")));
  const std::string got = s.recorded();
  EXPECT_NE(got.find("arg=" + s.dir.file("run in") + "/a.png\narg=/srv/b c.png\n"), std::string::npos)
      << got;
}

TEST(GioShell, AnApplicationFileDescribesItselfAndAProgramNoEntryNamesHasNoDescription) {
  Scene s;
  const std::string app = s.dir.file("viewer.desktop");
  write_file(app, "[Desktop Entry]\nType=Application\nName=Picture Viewer\nExec=" + s.recorder + "\n");
  EXPECT_EQ(s.shell.program_description(app), "Picture Viewer");
  EXPECT_EQ(s.shell.program_description(s.recorder), std::nullopt);
  EXPECT_EQ(s.shell.program_description(s.dir.file("missing.desktop")), std::nullopt);
  EXPECT_EQ(s.shell.program_description(s.dir.file("missing")), std::nullopt);
}

TEST(GioShell, AdministratorRightsGoThroughPkexecOnPath) {
  Scene s;
  ScopedEnv empty_path("PATH", s.dir.file("run in"));
  EXPECT_FALSE(s.shell.can_run_as_administrator());
  EXPECT_FALSE(s.shell.start_program_as_administrator({s.recorder}, ""));

  const std::string pkexec = s.dir.file("run in/pkexec");
  ASSERT_EQ(symlink(s.recorder.c_str(), pkexec.c_str()), 0);
  EXPECT_TRUE(s.shell.can_run_as_administrator());
  EXPECT_EQ(s.shell.find_program("pkexec"), pkexec);
  ASSERT_TRUE(s.shell.start_program_as_administrator({"/usr/bin/tool", "-v"}, s.dir.path()));
  EXPECT_EQ(s.recorded(), "cwd=" + s.dir.path() +
                              "\narg=--keep-cwd\narg=/usr/bin/tool\narg=-v\nstartup=none\n");
}

}  // namespace
}  // namespace tolvan
