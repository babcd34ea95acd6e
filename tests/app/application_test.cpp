// The start sequence and the quit of the program, headless: the order of their steps, the
// first start with the examples, the old library file, the due backup, the engine that does
// not start, the portable notice, the unapplied changes at quit, a second start.
#include "app/application.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "library/main_list_file.h"
#include "support/recording_prompts.h"
#include "support/temp_dir.h"
#include "recording_steps.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::RecordingPrompts;
using testing::RecordingSteps;
using testing::TempDir;
using testing::write_file;
using Calls = std::vector<std::string>;

class FakeFolders : public Folders {
 public:
  explicit FakeFolders(std::string config) : config_(std::move(config)) {}
  std::string executable_path() const override { return exe; }
  std::string user_config_dir() const override { return config_; }
  std::string installation_data_dir() const override { return data; }
  std::string removable_mount_point(const std::string& path) const override {
    return !medium.empty() && path.rfind(medium + "/", 0) == 0 ? medium : "";
  }
  std::string current_dir() const override { return "/work"; }

  std::string exe = "/opt/tolvan/bin/tolvan";
  std::string data = "/opt/tolvan/share/tolvan";
  std::string medium;  // mount point of the one removable medium, if any

 private:
  std::string config_;
};

// One run of the program with its doubles.
struct Program {
  explicit Program(const std::string& config) : folders(config), app(folders, steps, prompts) {}

  int run(std::vector<std::string> args) {
    args.insert(args.begin(), "tolvan");
    std::ostringstream o, e;
    int status = app.run(args, o, e);
    out = o.str();
    err = e.str();
    return status;
  }

  FakeFolders folders;
  RecordingSteps steps;
  RecordingPrompts prompts;
  Application app;
  std::string out, err;
};

// The calls of a whole run after the start: the main loop, then the quit in its order.
const Calls kQuitCalls = {"destroy_tooltip_window", "stop_engine",       "destroy_main_window",
                          "remove_tray",            "stop_listening",    "destroy_launchpad",
                          "unregister_hotkeys",     "leave_main_loop"};

Calls with_quit(Calls calls) {
  calls.insert(calls.end(), kQuitCalls.begin(), kQuitCalls.end());
  return calls;
}

// Shows each state the switch announces, among the steps.
class StateRecorder : public StateListener {
 public:
  explicit StateRecorder(RecordingSteps& steps) : steps_(steps) {}
  void app_state_changed(int state) override { steps_.calls.push_back("state " + std::to_string(state)); }

 private:
  RecordingSteps& steps_;
};

const char* const kLibrary =
    "<Tolvan n=\"All Abbreviations / Folders\" t=\"0\" d=\"0\" m=\"1\"><f n=\"Mine\" t=\"0\" d=\"0\">"
    "<a a=\"qq\" d=\"\" e=\"quick\" c=\"0\" t=\"3\" r=\"0\" x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/>"
    "</f></Tolvan>";

TEST(StartSequence, FirstStartImportsTheExamplesAndRunsEveryStepInOrder) {
  TempDir dir;
  Program p(dir.path());
  p.folders.data = TOLVAN_SOURCE_DIR "/data";
  StateRecorder states(p.steps);
  p.app.enabled_switch().add_listener(&states);
  size_t examples = 0;
  uint32_t examples_uid = 0;
  p.steps.while_running = [&] {
    Library& lib = p.app.library();
    ASSERT_EQ(lib.main_list.size(), 1u);
    ASSERT_EQ(lib.main_list[0]->subfolders.size(), 1u);
    const Folder& set = *lib.main_list[0]->subfolders[0];
    EXPECT_EQ(set.name, "Examples");
    examples = set.abbreviations.size();
    examples_uid = set.uid;
    // The working copy is a fresh copy of the main list.
    ASSERT_EQ(lib.sandbox.size(), 1u);
    ASSERT_EQ(lib.sandbox[0]->subfolders.size(), 1u);
    EXPECT_NE(lib.sandbox[0]->subfolders[0].get(), &set);
    EXPECT_EQ(lib.sandbox[0]->subfolders[0]->abbreviations.size(), examples);
    ASSERT_TRUE(p.app.quit(0));
  };
  EXPECT_EQ(p.run({"--systray"}), 0);

  EXPECT_EQ(p.steps.calls,
            with_quit({"claim_single_instance", "init_toolkit", "create_tray",
                       "listen_for_second_instances", "create_tooltip_window", "register_hotkeys",
                       "reshape_lists_for_textexpander", "tell_sync_main_list_loaded",
                       "register_folder_hotkeys", "show_tray_icon", "build_main_window hidden",
                       "start_engine", "state 0", "show_launchpad", "arm_update_check",
                       "arm_sync_poll", "run_main_loop"}));
  EXPECT_EQ(p.steps.claimed_data_dir, dir.file("tolvan"));
  EXPECT_GE(examples, 10u);
  EXPECT_EQ(examples_uid, 1u) << "the main window selects folder uid 1 after the first start";
  EXPECT_TRUE(p.prompts.shown.empty());
  EXPECT_EQ(p.app.prefs().get("expanded_folders"), "0");
  EXPECT_EQ(p.app.prefs().get("lddex"), "1");
  std::string saved = read_file(dir.file("tolvan/prefs.lt"));
  EXPECT_NE(saved.find("\"expanded_folders\"=\"0\"\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\"lddex\"=\"1\"\r\n"), std::string::npos);
  // Nothing writes the library until the user applies.
  EXPECT_FALSE(std::filesystem::exists(dir.file("tolvan/abbreviations.tlv")));
  // The lists are freed at quit.
  EXPECT_TRUE(p.app.library().main_list.empty());
}

TEST(StartSequence, FirstStartWithoutTheSetsFolderSaysNothing) {
  TempDir dir;
  Program p(dir.path());  // the installation folder does not exist
  EXPECT_EQ(p.run({}), 0);
  EXPECT_TRUE(p.prompts.shown.empty());
  EXPECT_EQ(p.app.prefs().get("lddex"), "1");
  EXPECT_NE(std::find(p.steps.calls.begin(), p.steps.calls.end(), "build_main_window shown"),
            p.steps.calls.end());
}

TEST(StartSequence, OldLibraryFileIsRenamedAndLoaded) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("tolvan"));
  write_file(dir.file("tolvan/abbreviations.xml"), kLibrary);
  Program p(dir.path());
  p.folders.data = TOLVAN_SOURCE_DIR "/data";
  std::string loaded;
  p.steps.while_running = [&] {
    const Folder& top = *p.app.library().main_list[0];
    for (const auto& f : top.subfolders) loaded += f->name + ";";
  };
  EXPECT_EQ(p.run({}), 0);
  EXPECT_EQ(loaded, "Mine;") << "no examples beside an existing library";
  EXPECT_FALSE(std::filesystem::exists(dir.file("tolvan/abbreviations.xml")));
  EXPECT_EQ(read_file(dir.file("tolvan/abbreviations.tlv")), kLibrary);
  EXPECT_EQ(p.app.gvar().get("abbreviations_file"), dir.file("tolvan/abbreviations.tlv"));
  EXPECT_EQ(p.app.prefs().get("lddex"), "0");
}

TEST(StartSequence, BothLibraryFilesPresentKeepsTheOldOneAlone) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("tolvan"));
  write_file(dir.file("tolvan/abbreviations.xml"), "old");
  write_file(dir.file("tolvan/abbreviations.tlv"), kLibrary);
  Program p(dir.path());
  EXPECT_EQ(p.run({}), 0);
  EXPECT_EQ(read_file(dir.file("tolvan/abbreviations.xml")), "old");
  EXPECT_TRUE(p.prompts.shown.empty());
}

TEST(StartSequence, DueBackupIsMadeOnceAtStart) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("tolvan"));
  write_file(dir.file("tolvan/abbreviations.tlv"), kLibrary);
  Program p(dir.path());
  EXPECT_EQ(p.run({}), 0);  // no preferences yet: auto_backup is new, so a backup is due
  EXPECT_EQ(p.app.gvar().get("backup_srsly"), "0");
  const std::string backups = p.app.prefs().get("backups");
  ASSERT_FALSE(backups.empty());
  const std::string backup = backups.substr(0, backups.find('*'));
  EXPECT_EQ(backup.rfind(dir.file("tolvan/backups/"), 0), 0u) << backup;
  EXPECT_EQ(read_file(backup), kLibrary);

  // The next start has nothing due.
  Program next(dir.path());
  EXPECT_EQ(next.run({}), 0);
  EXPECT_EQ(next.app.prefs().get("backups"), backups);
}

TEST(StartSequence, EngineThatCannotStartIsReportedAndTheProgramQuits) {
  TempDir dir;
  Program p(dir.path());
  p.steps.engine_starts = false;
  StateRecorder states(p.steps);
  p.app.enabled_switch().add_listener(&states);
  EXPECT_EQ(p.run({}), 0);
  ASSERT_EQ(p.prompts.shown.size(), 1u);
  EXPECT_EQ(p.prompts.shown[0].box, RecordingPrompts::Box::Error);
  EXPECT_EQ(p.prompts.shown[0].text.rfind(
                "Fatal error: Unable to initialize and install the backend. Please make sure "
                "that no other instances of Tolvan are running and try again. ",
                0),
            0u);
  EXPECT_EQ(p.steps.from("start_engine"), with_quit({"start_engine"}))
      << "no state, no launch pad, no main loop";
  EXPECT_TRUE(std::filesystem::exists(dir.file("tolvan/prefs.lt")));
}

TEST(StartSequence, PortableNoticeRemembersItsCheckBox) {
  TempDir stick;  // stands for a USB medium mounted at stick.path()
  std::filesystem::create_directories(stick.file("Tolvan/app/bin"));
  const std::string config = stick.file("home-config");
  auto portable = [&](std::optional<bool> check_box) {
    auto p = std::make_unique<Program>(config);
    p->folders.exe = stick.file("Tolvan/app/bin/tolvan");
    p->folders.medium = stick.path();
    p->prompts.check_box = check_box;
    EXPECT_EQ(p->run({"--portable"}), 0);
    return p;
  };
  auto first = portable(std::nullopt);
  ASSERT_EQ(first->prompts.count(RecordingPrompts::Box::AskAgain), 1u);
  EXPECT_EQ(first->prompts.shown.back().text, kPortableNoticeText);
  EXPECT_EQ(first->app.prefs().get("portable_dont_wrn"), "0");

  auto second = portable(true);  // shown again; this time the box is checked
  EXPECT_EQ(second->prompts.count(RecordingPrompts::Box::AskAgain), 1u);
  EXPECT_NE(read_file(stick.file("Tolvan/data/prefs.lt")).find("\"portable_dont_wrn\"=\"1\""),
            std::string::npos);

  auto third = portable(std::nullopt);
  EXPECT_EQ(third->prompts.count(RecordingPrompts::Box::AskAgain), 0u);

  // Outside portable mode there is no notice.
  Program normal(config);
  EXPECT_EQ(normal.run({}), 0);
  EXPECT_EQ(normal.prompts.count(RecordingPrompts::Box::AskAgain), 0u);
}

TEST(QuitSequence, UnappliedChangesAreOfferedYesNoCancel) {
  TempDir dir;
  Program p(dir.path());
  p.steps.unapplied = true;
  p.prompts.answers = {Answer::Cancel, Answer::No};
  p.steps.while_running = [&] {
    EXPECT_FALSE(p.app.quit(0)) << "Cancel goes back to running";
    EXPECT_EQ(p.steps.calls.back(), "run_main_loop");
    EXPECT_TRUE(p.app.quit(3));
    EXPECT_TRUE(p.app.quitting());
  };
  EXPECT_EQ(p.run({}), 3);
  EXPECT_EQ(p.prompts.count(RecordingPrompts::Box::YesNoCancel), 2u);
  EXPECT_EQ(p.prompts.shown[0].text, "Would you like me to save your changes before quitting?");
  EXPECT_EQ(p.steps.from("run_main_loop"), with_quit({"run_main_loop"})) << "No applies nothing";
  EXPECT_TRUE(std::filesystem::exists(dir.file("tolvan/prefs.lt"))) << "preferences still saved";

  Program yes(dir.path());
  yes.steps.unapplied = true;
  yes.prompts.answers = {Answer::Yes};
  yes.steps.while_running = [&] { EXPECT_TRUE(yes.app.quit(0)); };
  EXPECT_EQ(yes.run({}), 0);
  EXPECT_EQ(yes.steps.from("run_main_loop"), with_quit({"run_main_loop", "apply_changes"}));
}

TEST(QuitSequence, QuitThatCannotBeCancelledAsksNothingAndRunsOnce) {
  TempDir dir;
  Program p(dir.path());
  p.steps.unapplied = true;
  p.steps.while_running = [&] {
    EXPECT_TRUE(p.app.quit(0, false));
    EXPECT_TRUE(p.app.quit(0)) << "a second request finds it done";
  };
  EXPECT_EQ(p.run({}), 0);
  EXPECT_TRUE(p.prompts.shown.empty());
  EXPECT_EQ(p.steps.from("run_main_loop"), with_quit({"run_main_loop"}));

  // A main loop that ends by itself (the session ended) still quits in order.
  Program ended(dir.path());
  EXPECT_EQ(ended.run({}), 0);
  EXPECT_EQ(ended.steps.from("run_main_loop"), with_quit({"run_main_loop"}));
}

TEST(StartSequence, SecondStartHandsOverAndTouchesNothing) {
  TempDir dir;
  Program p(dir.path());
  p.steps.first_instance = false;
  EXPECT_EQ(p.run({"--import", "x.tlv"}), 0);
  EXPECT_EQ(p.steps.calls, Calls{"claim_single_instance"});
  EXPECT_FALSE(std::filesystem::exists(dir.file("tolvan/prefs.lt")));
}

TEST(StartSequence, ImportOnTheCommandLineComesAfterTheLaunchPad) {
  TempDir dir;
  Program p(dir.path());
  EXPECT_EQ(p.run({"--import", "lib.tlv"}), 0);
  EXPECT_EQ(p.steps.from("show_launchpad"),
            with_quit({"show_launchpad", "import_abbrevs /work/lib.tlv", "arm_update_check",
                       "arm_sync_poll", "run_main_loop"}));
  Program te(dir.path());
  EXPECT_EQ(te.run({"--IMPORT", "/snips/My.TextExpander"}), 0);
  EXPECT_EQ(te.steps.from("show_launchpad")[1], "import_te_snippets /snips/My.TextExpander");
}

TEST(Handover, ShowsTheMainWindowThenImportsWithTheSecondStartsFolder) {
  TempDir dir;
  Program p(dir.path());
  p.steps.while_running = [&] {
    p.app.accept_handover({"/home/u/docs", std::nullopt});
    p.app.accept_handover({"/home/u/docs", "set.tlv"});
    p.app.accept_handover({"/home/u/docs", "/elsewhere/Group.textexpander"});
    p.app.accept_handover({"", "relative.tlv"});  // nothing to resolve it against
  };
  EXPECT_EQ(p.run({}), 0);
  EXPECT_EQ(p.steps.from("run_main_loop"),
            with_quit({"run_main_loop", "show_main_window", "show_main_window",
                       "import_abbrevs /home/u/docs/set.tlv", "show_main_window",
                       "import_te_snippets /elsewhere/Group.textexpander", "show_main_window"}));
}

TEST(StartSequence, ConfigDirOptionAndEnvironmentChooseTheDataFolder) {
  TempDir dir;
  Program p(dir.file("unused"));
  ASSERT_EQ(p.run({"--config-dir", dir.file("profile")}), 0);
  EXPECT_EQ(p.steps.claimed_data_dir, dir.file("profile"));
  EXPECT_NE(read_file(dir.file("profile/prefs.lt")).find("\"3\"=\"1\""), std::string::npos);

  ::setenv("TOLVAN_CONFIG_DIR", dir.file("env").c_str(), 1);
  Program from_env(dir.file("unused"));
  int status = from_env.run({});
  ::unsetenv("TOLVAN_CONFIG_DIR");
  ASSERT_EQ(status, 0);
  EXPECT_EQ(from_env.app.gvar().get("prefs_file"), dir.file("env/prefs.lt"));
}

TEST(StartSequence, OldPreferencesAreUpgradedAndTheirValuesKept) {
  TempDir dir;
  write_file(dir.file("prefs.lt"),
             "\"win_width\"=\"753\"\r\n\"win_height\"=\"900\"\r\n\"play_sound\"=\"1\"\r\n");
  Program p(dir.file("none"));
  ASSERT_EQ(p.run({"--config-dir", dir.path()}), 0);
  EXPECT_EQ(p.app.prefs().get("win_width"), "796");
  EXPECT_EQ(p.app.prefs().get("play_sound"), "1");
  std::string saved = read_file(dir.file("prefs.lt"));
  EXPECT_EQ(saved.rfind("\"win_width\"=\"796\"\r\n\"win_height\"=\"900\"\r\n\"play_sound\"=\"1\"\r\n", 0), 0u);
}

TEST(StartSequence, BadCommandLineGetsUsageAndNothingRuns) {
  TempDir dir;
  Program p(dir.path());
  EXPECT_EQ(p.run({"--frobnicate"}), 2);
  EXPECT_NE(p.err.find("unknown option '--frobnicate'"), std::string::npos);
  EXPECT_NE(p.err.find("Usage: tolvan"), std::string::npos);
  EXPECT_TRUE(p.steps.calls.empty());

  Program help(dir.path());
  EXPECT_EQ(help.run({"--help"}), 0);
  EXPECT_NE(help.out.find("--import FILE"), std::string::npos);
  EXPECT_TRUE(help.steps.calls.empty());
}

TEST(QuitSequence, UnsavablePreferencesAreReportedAndTheOldFileKept) {
  TempDir dir;
  write_file(dir.file("blocked"), "not a folder");  // nothing can be saved there
  Program p(dir.path());
  EXPECT_EQ(p.run({"--config-dir", dir.file("blocked")}), 0);
  EXPECT_NE(p.err.find("the preferences could not be saved"), std::string::npos);
  EXPECT_EQ(read_file(dir.file("blocked")), "not a folder");
}

}  // namespace
}  // namespace tolvan
