// A launcher's parameters split into the words a program receives.
#include "launch/parameter_words.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

using Words = std::vector<std::string>;

Words split(std::string_view text) {
  auto words = launcher_split_parameters(text);
  EXPECT_TRUE(words.ok()) << text << ": " << words.error();
  return words.ok() ? *words : Words{"<error>"};
}

TEST(ParameterWords, BlanksSeparateAndQuotesKeepWordsTogether) {
  EXPECT_EQ(split("-n  --title\tReport"), (Words{"-n", "--title", "Report"}));
  EXPECT_EQ(split("\"/home/ann/My Files/a.txt\" 'it''s' x\"y z\"w"),
            (Words{"/home/ann/My Files/a.txt", "its", "xy zw"}));
  EXPECT_EQ(split("'' \"\""), (Words{"", ""})) << "empty quotes are empty words";
  EXPECT_EQ(split("one\ntwo"), (Words{"one", "two"}));
}

TEST(ParameterWords, EscapesFollowTheShell) {
  EXPECT_EQ(split(R"(a\ b \"q\" \\)"), (Words{"a b", "\"q\"", "\\"}));
  // Inside double quotes only \" \\ \$ \` are escapes; other backslashes stay.
  EXPECT_EQ(split(R"("C:\dir \"x\" \$HOME \`cmd\`")"), (Words{R"(C:\dir "x" $HOME `cmd`)"}));
  // Inside single quotes nothing is an escape.
  EXPECT_EQ(split(R"('a\nb\' c)"), (Words{R"(a\nb\)", "c"}));
  EXPECT_EQ(split("long\\\nline"), (Words{"longline"})) << "a backslash-newline joins lines";
}

TEST(ParameterWords, NothingIsExpandedOrRun) {
  EXPECT_EQ(split("$HOME ~ * $(rm -rf /) `id` a;b|c&d>e"),
            (Words{"$HOME", "~", "*", "$(rm", "-rf", "/)", "`id`", "a;b|c&d>e"}));
  EXPECT_EQ(split("--color=#fff # a note"), (Words{"--color=#fff"}))
      << "# starts a comment only at the start of a word";
}

TEST(ParameterWords, BlankParametersAreNoWords) {
  EXPECT_EQ(split(""), Words{});
  EXPECT_EQ(split(" \t\n "), Words{});
  EXPECT_EQ(split("# only a note"), Words{});
}

TEST(ParameterWords, UnfinishedQuotingIsAnError) {
  const std::string_view bad_texts[] = {"\"open", "'open", "a\\", "\"a\\\"",
                                        std::string_view("a\0b", 3)};
  for (std::string_view bad : bad_texts) {
    auto words = launcher_split_parameters(bad);
    ASSERT_FALSE(words.ok()) << bad;
    EXPECT_FALSE(words.error().empty());
  }
}

TEST(ParameterWords, UnicodeAndLongInputSurvive) {
  EXPECT_EQ(split("«ünï» '日本 語'"), (Words{"«ünï»", "日本 語"}));
  const std::string many(100000, 'x');
  EXPECT_EQ(split(many + " " + many), (Words{many, many}));
}

}  // namespace
}  // namespace tolvan
