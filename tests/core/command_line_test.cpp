#include "core/command_line.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

Result<CommandLine> parse(std::vector<std::string> args) {
  args.insert(args.begin(), "/usr/bin/tolvan");
  return parse_command_line(args, "/home/u/work/");
}

TEST(CommandLine, SystrayAnywhereInAnyCase) {
  EXPECT_FALSE(parse({})->systray);
  EXPECT_TRUE(parse({"--SysTray"})->systray);
  EXPECT_TRUE(parse({"--import", "a.tlv", "--systray"})->systray);
  EXPECT_TRUE(should_start_in_systray({"--systray"}));  // argument 0 counts too
}

TEST(CommandLine, PortableOnlyAsFirstArgument) {
  EXPECT_TRUE(parse({"--PORTABLE", "--systray"})->portable);
  auto later = parse({"--systray", "--portable"});
  ASSERT_TRUE(later.ok());
  EXPECT_FALSE(later->portable);
}

TEST(CommandLine, ImportPathIsCompletedWithTheWorkingDirectory) {
  EXPECT_EQ(parse({"--import", "set.tlv"})->import_path, "/home/u/work/set.tlv");
  EXPECT_EQ(parse({"--IMPORT", "sub/x.textexpander"})->import_path,
            "/home/u/work/sub/x.textexpander");
  EXPECT_EQ(parse({"--import", "/home/u/work/in.tlv"})->import_path, "/home/u/work/in.tlv");
  EXPECT_EQ(parse({"--import", "/elsewhere/in.tlv"})->import_path, "/elsewhere/in.tlv");
  EXPECT_EQ(parse({"--import"})->import_path, "");  // without a path: ignored
  EXPECT_EQ(import_path_from_argument("x.tlv", "/"), "/x.tlv");
}

TEST(CommandLine, ConfigDirAndHelp) {
  EXPECT_EQ(parse({"--config-dir", "/p"})->config_dir, "/p");
  EXPECT_EQ(parse({"--config-dir=/q"})->config_dir, "/q");
  EXPECT_TRUE(parse({"--help"})->help);
  auto missing = parse({"--config-dir"});
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().find("--config-dir needs a folder."), std::string::npos);
}

TEST(CommandLine, UnknownOptionsAndStrayArgumentsGetTheUsage) {
  for (auto args : std::vector<std::vector<std::string>>{{"--bogus"}, {"file.tlv"}, {"-x"}}) {
    auto line = parse(args);
    ASSERT_FALSE(line.ok()) << args[0];
    EXPECT_NE(line.error().find("'" + args[0] + "'"), std::string::npos);
    EXPECT_NE(line.error().find("Usage: tolvan"), std::string::npos);
  }
}

}  // namespace
}  // namespace tolvan
