// tolvan-cli simulate: the real engine on the simulated desktop, driven from the command
// line with a library file and the preferences of the data folder.
#include <gtest/gtest.h>

#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::cli;
using testing::CliRun;
using testing::TempDir;
using testing::write_file;

const char* kLibrary =
    "<Tolvan n=\"All Abbreviations / Folders\">"
    "<a a=\"btw\" e=\"by the way\" c=\"2\" t=\"3\" r=\"0\"/>"
    "<a a=\"dr\" e=\"Dear %(Input name),%(Key Enter)Thanks\" c=\"0\" t=\"3\" r=\"0\"/>"
    "<a a=\"tag\" e=\"&lt;b&gt;%(cursor)&lt;/b&gt;\" c=\"0\" t=\"3\" r=\"0\"/>"
    "<a a=\"td\" e=\"%(Day).%(Month).%(Year)\" c=\"0\" t=\"3\" r=\"0\"/>"
    "<a a=\"caf\xC3\xA9\" e=\"coffee\" c=\"0\" t=\"5\" r=\"0\"/>"
    "<a a=\"omw\" e=\"on my way\" c=\"0\" t=\"5\" r=\"0\"/>"
    "</Tolvan>";

struct Simulate : ::testing::Test {
  void SetUp() override { write_file(dir.file("lib.tlv"), kLibrary); }
  CliRun simulate(std::vector<std::string> args) {
    args.insert(args.begin(), {"simulate", "--library", dir.file("lib.tlv")});
    return cli(dir, std::move(args));
  }
  TempDir dir;
};

TEST_F(Simulate, PrintsWhatTheApplicationHolds) {
  CliRun r = simulate({"Btw, {{x}} ok"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "By the way, {x} ok\n");
}

TEST_F(Simulate, KeysAfterAnInputAreTypedIntoIt) {
  CliRun r = simulate({"--show-caret", "drBob{Tab}"});
  EXPECT_EQ(r.out, "Dear Bob,\nThanks|\n");
  EXPECT_EQ(simulate({"--show-caret", "tag"}).out, "<b>|</b>\n");
}

TEST_F(Simulate, LayoutsTimeAndClipboard) {
  EXPECT_EQ(simulate({"--layout", "de", "caf\xC3\xA9 "}).out, "coffee \n");
  EXPECT_EQ(simulate({"--layout", "us-intl", "caf\xC3\xA9."}).out, "coffee.\n");
  EXPECT_EQ(simulate({"--layout", "us-intl", "--swallow", "caf\xC3\xA9."}).out, "coffee.\n");
  EXPECT_EQ(simulate({"--now", "2026-02-03T04:05:06", "td"}).out, "03.02.2026\n");
  CliRun r = simulate({"--clipboard", "mine", "btw"});
  EXPECT_EQ(r.out, "by the way\nclipboard:\nmine\n");
}

TEST_F(Simulate, PreferencesOfTheDataFolderApply) {
  ASSERT_EQ(cli(dir, {"prefs", "set", "output_method", "1"}).status, 0);
  ASSERT_EQ(cli(dir, {"prefs", "set", "clipboard_restore", "1"}).status, 0);
  CliRun r = simulate({"--clipboard", "mine", "--events", "btw"});
  EXPECT_EQ(r.out.substr(0, r.out.find("events:")), "by the way\nclipboard:\nmine\n");
  EXPECT_NE(r.out.find("inject down V"), std::string::npos) << "pasted with Ctrl+V";
}

TEST_F(Simulate, EventsShowTheSyntheticStream) {
  CliRun r = simulate({"--events", "btw"});
  ASSERT_NE(r.out.find("events:\n"), std::string::npos);
  EXPECT_NE(r.out.find("inject down Back"), std::string::npos);
  EXPECT_EQ(r.out.find("user "), std::string::npos) << "only what Tolvan sent";
}

TEST_F(Simulate, KeysReachTheWindowAsOnX11UnlessSwallowingIsAsked) {
  // The delimiter that releases a word-ending abbreviation is taken by Tolvan. As on X11
  // it reaches the window first and is erased with the abbreviation; a desktop that can
  // swallow (Windows) keeps it out, so there is one character less to erase.
  auto erased = [](const CliRun& r) {
    size_t n = 0;
    for (size_t at = r.out.find("inject down Back"); at != std::string::npos;
         at = r.out.find("inject down Back", at + 1))
      ++n;
    return n;
  };
  CliRun typed_through = simulate({"--events", "omw,"});
  CliRun swallowed = simulate({"--swallow", "--events", "omw,"});
  EXPECT_EQ(typed_through.out.substr(0, typed_through.out.find("events:")), "on my way,\n");
  EXPECT_EQ(swallowed.out.substr(0, swallowed.out.find("events:")), "on my way,\n");
  EXPECT_EQ(erased(typed_through), 4u);
  EXPECT_EQ(erased(swallowed), 3u);
}

TEST_F(Simulate, BadArgumentsAndKeysAreReported) {
  EXPECT_EQ(simulate({}).status, 2);
  CliRun layout = simulate({"--layout", "fr", "x"});
  EXPECT_EQ(layout.status, 2);
  EXPECT_NE(layout.err.find("Unknown layout 'fr'"), std::string::npos);
  EXPECT_EQ(simulate({"--now", "yesterday", "x"}).status, 2);
  EXPECT_EQ(simulate({"--no-swallow", "x"}).status, 2) << "typing through is the default";
  CliRun name = simulate({"a{Nokey}b"});
  EXPECT_EQ(name.status, 1);
  EXPECT_NE(name.err.find("There is no key named 'Nokey'"), std::string::npos);
  EXPECT_EQ(name.out, "a\n") << "what was typed before is still shown";
  CliRun open = simulate({"a{Tab"});
  EXPECT_EQ(open.status, 1);
  CliRun untypable = simulate({"\xE2\x82\xAC"});  // no key for the euro sign on US
  EXPECT_EQ(untypable.status, 1);
  EXPECT_NE(untypable.err.find("has no key"), std::string::npos);
}

}  // namespace
}  // namespace tolvan
