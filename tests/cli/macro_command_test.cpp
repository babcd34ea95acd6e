// tolvan-cli macro: expand, from-te, to-te and keys, their help and their errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sstream>

#include "cli/cli.h"
#include "support/cli_run.h"

namespace tolvan::cli {
namespace {

using tolvan::testing::CliRun;

class MacroCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    setenv("LC_ALL", "C", 1);
    tzset();
  }

  CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), "macro");
    return tolvan::testing::cli_run(std::move(args));
  }
};

TEST_F(MacroCommand, ExpandPrintsTheTextAndCursorBack) {
  CliRun r = run({"expand", "--now", "2025-12-31T23:30:00",
               "%(AddMinutes 45)%(Year)-%(Month)-%(Day) %(Hour24):%(Minute)%(cursor)!"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "2026-01-01 00:15!\ncursor-back: 1\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(MacroCommand, ExpandUsesEnglishNamesInTheCLocaleAndTheGivenClipboard) {
  CliRun r = run({"expand", "--clipboard", "line one\r\nline two", "--now", "2024-02-29T08:00:00",
               "%(WeekdayName) %(MonthNameShort) %(AMorPM): %(clipboard)"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Thursday Feb AM: line one\nline two\ncursor-back: 0\n");
}

TEST_F(MacroCommand, ExpandConvertsTextExpanderCodesFirst) {
  CliRun r = run({"expand", "--now", "2009-03-05T07:04:09", "%m/%d/%Y %|x"});
  EXPECT_EQ(r.out, "03/05/2009 x\ncursor-back: 1\n");
}

TEST_F(MacroCommand, ExpandWithoutClipboardOptionGivesAnEmptyClipboard) {
  CliRun r = run({"expand", "[%(clipboard)]"});
  EXPECT_EQ(r.out, "[]\ncursor-back: 0\n");
}

TEST_F(MacroCommand, ExpandRejectsBadTimesAndArguments) {
  for (const char* bad : {"2025-02-30T00:00:00", "2025-1-01T00:00:00", "2025-01-01 00:00:00",
                          "2025-01-01T24:00:00", "yesterday"}) {
    CliRun r = run({"expand", "--now", bad, "%(Day)"});
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(r.out, "") << bad;
    EXPECT_NE(r.err.find("is not a valid local time"), std::string::npos) << bad;
  }
  EXPECT_EQ(run({"expand"}).status, 2);
  EXPECT_EQ(run({"expand", "--now"}).status, 2);
  EXPECT_EQ(run({"expand", "a", "b"}).status, 2);
  CliRun r = run({"expand", "--frobnicate", "x"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("unknown option '--frobnicate'"), std::string::npos);
  // After "--" an argument that looks like an option is the text.
  EXPECT_EQ(run({"expand", "--", "--now"}).out, "--now\ncursor-back: 0\n");
}

TEST_F(MacroCommand, ConversionsBothWays) {
  CliRun r = run({"from-te", "%m/%d %fill:name% %@-2M %key:enter%"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "%(Month)/%(Day) %(Input name) %(SubtractMonths 2) %(Key Enter)\n");
  r = run({"to-te", "%(Month)/%(Day) %(Input name) %(SubYears 1) %(Key Enter)"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "%m/%d %fill:name% %@-1Y %key:return%\n");
  EXPECT_EQ(run({"to-te"}).status, 2);
  EXPECT_EQ(run({"from-te", "a", "b"}).status, 2);
}

TEST_F(MacroCommand, KeysPrintsRepeatAndOneActionPerLine) {
  CliRun r = run({"keys", "Ctrl+Shift+End", "2"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "repeat: 2\n"
            "press 0x11 extended\n"
            "press 0x10\n"
            "press 0x23 extended\n"
            "release 0x23 extended\n"
            "release 0x10\n"
            "release 0x11 extended\n");
  EXPECT_EQ(run({"keys", "tab"}).out, "repeat: 1\ntap 0x09\n");
  EXPECT_EQ(run({"keys", "NoSuchKey", "0"}).out, "repeat: 0\ntap 0x00\n");
}

TEST_F(MacroCommand, KeysRejectsBadArguments) {
  CliRun r = run({"keys", "Tab", "three"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("COUNT must be a whole number"), std::string::npos);
  EXPECT_EQ(run({"keys"}).status, 2);
  EXPECT_EQ(run({"keys", "Tab", "1", "2"}).status, 2);
}

TEST_F(MacroCommand, HelpAtEveryLevelAndUnknownCommands) {
  for (const char* command : {"expand", "from-te", "to-te", "keys"}) {
    CliRun r = run({command, "--help"});
    EXPECT_EQ(r.status, 0) << command;
    EXPECT_NE(r.out.find(std::string("tolvan-cli macro ") + command), std::string::npos);
  }
  CliRun r = run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("from-te"), std::string::npos);
  r = run({});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("Usage: tolvan-cli macro"), std::string::npos);
  r = run({"explode"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("unknown command 'explode'"), std::string::npos);
  std::ostringstream out, err;
  cli_main({"--help"}, out, err);
  EXPECT_NE(out.str().find("macro"), std::string::npos);
}

}  // namespace
}  // namespace tolvan::cli
