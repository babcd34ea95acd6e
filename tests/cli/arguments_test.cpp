// Reading a command's arguments: options with and without values, "--", help requests, and
// what does not fit; and the local times the commands take.
#include "cli/arguments.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <tuple>

#include "cli/local_time.h"

namespace tolvan::cli {
namespace {

constexpr OptionSpec kOptions[] = {{"--now", "a time"}, {"--library", "a file"}, {"--events", ""}};

Arguments read(std::vector<std::string> args, UnknownOption unknown = UnknownOption::kUnknown,
               bool options_first = false) {
  return Arguments(args, {kOptions, unknown, options_first});
}

using Words = std::vector<std::string>;

TEST(Arguments, OptionsTakeTheirValuesAndTheRestArePositional) {
  Arguments a = read({"KEYS", "--now", "--help", "--events", "-", "-x", "--library=a=b.tlv", ""});
  EXPECT_FALSE(a.help());
  EXPECT_EQ(a.problem(), "");
  EXPECT_EQ(a.value("--now"), "--help") << "a value is taken as it is, whatever it looks like";
  EXPECT_EQ(a.value("--library"), "a=b.tlv");
  EXPECT_TRUE(a.has("--events"));
  EXPECT_EQ(a.value("--events"), "");
  EXPECT_EQ(a.positionals(), (Words{"KEYS", "-", "-x", ""})) << "one dash makes no option";
  EXPECT_FALSE(read({}).has("--events"));
  EXPECT_FALSE(read({}).value("--now"));
}

TEST(Arguments, ARepeatedOptionKeepsItsLastValue) {
  Arguments a = read({"--now", "1", "--events", "--now=2", "--events", "--now", "3"});
  EXPECT_EQ(a.problem(), "");
  EXPECT_EQ(a.value("--now"), "3");
  EXPECT_TRUE(a.has("--events"));
  EXPECT_TRUE(a.positionals().empty());
}

TEST(Arguments, DoubleDashEndsTheOptions) {
  Arguments a = read({"--events", "--", "--now", "--help", "--", "-h"});
  EXPECT_FALSE(a.help());
  EXPECT_EQ(a.problem(), "");
  EXPECT_FALSE(a.value("--now"));
  EXPECT_EQ(a.positionals(), (Words{"--now", "--help", "--", "-h"}));
}

TEST(Arguments, HelpEndsTheReadingWhereverItStands) {
  for (const Words& args : {Words{"--help"}, Words{"-h"}, Words{"a", "b", "-h", "--frob"},
                            Words{"--now", "t", "--help", "--library"}}) {
    Arguments a = read(args);
    EXPECT_TRUE(a.help()) << args.front();
    EXPECT_EQ(a.problem(), "") << "nothing after the request is read";
  }
  Arguments late = read({"--frob", "--help"});
  EXPECT_FALSE(late.help()) << "a problem before the request ends the reading first";
  EXPECT_EQ(late.problem(), "unknown option '--frob'.");
}

TEST(Arguments, AMissingValueNamesWhatIsNeeded) {
  Arguments a = read({"KEYS", "--library"});
  EXPECT_EQ(a.problem(), "--library needs a file.");
  EXPECT_FALSE(a.unknown_option());
  EXPECT_EQ(read({"--now="}).value("--now"), "") << "an empty value is a value";
}

TEST(Arguments, UnknownOptionsInEitherWording) {
  Arguments unknown = read({"--frob", "x"});
  EXPECT_EQ(unknown.problem(), "unknown option '--frob'.");
  EXPECT_TRUE(unknown.unknown_option());
  EXPECT_EQ(read({"--frob=1"}, UnknownOption::kUnexpected).problem(),
            "Unexpected argument '--frob=1'.");
  EXPECT_EQ(read({"--events=yes"}).problem(), "unknown option '--events=yes'.")
      << "a switch takes no value";
  EXPECT_EQ(read({"--Now", "t"}).problem(), "unknown option '--Now'.") << "names keep their case";
  EXPECT_EQ(read({"--=x"}).problem(), "unknown option '--=x'.");
}

TEST(Arguments, OptionsFirstLeavesEverythingFromTheFirstPositionalAlone) {
  Arguments a = read({"--library", "f", "prefs", "--help", "--frob", "--now"},
                     UnknownOption::kUnknown, /*options_first=*/true);
  EXPECT_FALSE(a.help());
  EXPECT_EQ(a.problem(), "");
  EXPECT_EQ(a.value("--library"), "f");
  EXPECT_EQ(a.positionals(), (Words{"prefs", "--help", "--frob", "--now"}));
}

TEST(UsageErrors, TheTwoVoicesOfTheCommands) {
  std::ostringstream out, err;
  Invocation inv{{"restore"}, "", out, err};
  EXPECT_EQ(usage_error(inv, "macro", "a TEXT is needed.", "Usage: x\n"), 2);
  EXPECT_EQ(err.str(), "tolvan-cli macro: a TEXT is needed.\nUsage: x\n");
  err.str("");
  EXPECT_EQ(group_usage_error(inv, takes_arguments("library html", 2, "file", 1), "Usage: y\n"), 2);
  EXPECT_EQ(err.str(), "tolvan-cli: library html takes 2 files, not 1.\n\nUsage: y\n");
  err.str("");
  EXPECT_EQ(unknown_subcommand(inv, "prefs", "frob"), 2);
  EXPECT_EQ(err.str(),
            "tolvan-cli: unknown prefs command 'frob'.\n"
            "Run 'tolvan-cli prefs --help' for the list of commands.\n");
  EXPECT_EQ(takes_arguments("prefs get", 1, "argument", 0), "prefs get takes 1 argument, not 0.");
  EXPECT_EQ(out.str(), "");
}

TEST(UsageErrors, AGroupWithoutASubcommandShowsItsUsage) {
  std::ostringstream out, err;
  EXPECT_EQ(group_usage_requested({{}, "", out, err}, "U\n"), 2);
  EXPECT_EQ(err.str(), "U\n");
  EXPECT_EQ(group_usage_requested({{"-h", "x"}, "", out, err}, "U\n"), 0);
  EXPECT_EQ(out.str(), "U\n");
  EXPECT_FALSE(group_usage_requested({{"list", "--help"}, "", out, err}, "U\n"))
      << "a subcommand's help is the subcommand's";
}

TEST(UsageErrors, SubcommandsOfAFixedShape) {
  constexpr Subcommand kTable[] = {{"get", 1, "Usage: get KEY\n"}, {"list", 0, "Usage: list\n"}};
  auto call = [&](Words args) {
    std::ostringstream out, err;
    SubcommandCall c = read_subcommand({args, "", out, err}, "prefs", kTable, "argument", "U\n");
    return std::make_tuple(c.subcommand ? std::string(c.subcommand->name) : "", c.arguments,
                           c.status, out.str() + err.str());
  };
  EXPECT_EQ(call({"get", "--", "--k"}), std::make_tuple("get", Words{"--k"}, 0, ""));
  EXPECT_EQ(call({"get", "k", "-h"}), std::make_tuple("", Words{}, 0, "Usage: get KEY\n"));
  EXPECT_EQ(call({"list", "x"}),
            std::make_tuple("", Words{}, 2,
                            "tolvan-cli: prefs list takes 0 arguments, not 1.\n\nUsage: list\n"));
  EXPECT_EQ(call({"get", "--k"}),
            std::make_tuple("", Words{}, 2,
                            "tolvan-cli: unknown option '--k'.\n\nUsage: get KEY\n"));
  EXPECT_EQ(std::get<2>(call({"frob"})), 2);
  EXPECT_EQ(std::get<3>(call({})), "U\n");
}

class LocalTime : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
};

TEST_F(LocalTime, ExactlyTheLongFormOfAnExistingTime) {
  EXPECT_EQ(parse_local_time("2009-02-13T23:31:30"), std::time_t{1234567890});
  EXPECT_EQ(parse_local_time("2024-02-29T00:00:00"), std::time_t{1709164800}) << "a leap day";
  for (std::string_view bad :
       {"2023-02-29T00:00:00", "2024-13-01T00:00:00", "2024-01-01T24:00:00", "2024-01-01T00:60:00",
        "2024-1-01T00:00:00", "2024-01-01 00:00:00", "2024-01-01T00:00:00Z", "+024-01-01T00:00:00",
        "2024-0a-01T00:00:00", "", "2024-01-01T00:00:0"}) {
    EXPECT_FALSE(parse_local_time(bad)) << bad;
  }
}

}  // namespace
}  // namespace tolvan::cli
