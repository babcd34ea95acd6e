#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

Settings parse_ok(std::string_view text) {
  Settings s;
  Status status = settings_parse(text, s);
  EXPECT_TRUE(status.ok()) << "rejected: " << text;
  return s;
}

void expect_invalid(std::string_view text) {
  Settings s;
  s.set("before", "kept");
  Status status = settings_parse(text, s);
  ASSERT_FALSE(status.ok()) << "accepted: " << text;
  EXPECT_EQ(status.error(), "Invalid setting file.");
  // Nothing of an invalid file is kept.
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s.get("before"), "kept");
}

TEST(SettingsFile, WritesEscapedRecordsWithCrLf) {
  Settings s;
  s.set("plain", "value");
  s.set("tricky", ",\\\"");  // comma, backslash, double quote
  s.set("empty", "");
  s.set("lines", "one\ntwo");
  EXPECT_EQ(settings_serialize(s),
            "\"plain\"=\"value\"\r\n"
            "\"tricky\"=\",\\\\\\\"\"\r\n"
            "\"empty\"=\"\"\r\n"
            "\"lines\"=\"one\r\ntwo\"\r\n");
}

TEST(SettingsFile, HostileValuesSurviveSaveAndLoad) {
  TempDir dir;
  Settings s;
  s.set("backslashes", "C:\\path\\\\double\\");
  s.set("quotes", "\"quoted\" and \\\" escaped");
  s.set("tabs", "a\tb\t");
  s.set("crlf", "line one\r\nline two\r\n");
  s.set("lf", "\nleading and trailing\n");
  s.set("utf8", "Grüße, 東京, emoji 😀");
  s.set("empty", "");
  s.set("key with \"quote\" and \\", "v");
  s.set("delim_chars", ",.?!()<>[]{}:;\"/\\-' \n\t");
  const auto path = dir.file("prefs.lt");
  ASSERT_TRUE(settings_dump_to_file(s, path).ok());
  auto loaded = settings_load_from_file(path);
  ASSERT_TRUE(loaded.ok()) << loaded.error();
  EXPECT_EQ(*loaded, s);
}

TEST(SettingsFile, ReadsBareLfAndCrLfAndSpacesAroundTheEqualsSign) {
  Settings s = parse_ok("  \"a\" = \"1\"  \r\n\"b\"=\"x\ny\"\n   \t\n\r\n\"c\"\t=\t\"3\"");
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s.get("a"), "1");
  EXPECT_EQ(s.get("b"), "x\ny");
  EXPECT_EQ(s.get("c"), "3");
  EXPECT_TRUE(parse_ok("").empty());
  EXPECT_TRUE(parse_ok("\n\n  \n").empty());
}

TEST(SettingsFile, DuplicateKeysDifferingInCaseKeepFirstPositionAndLastValue) {
  Settings s = parse_ok("\"Foo\"=\"1\"\r\n\"bar\"=\"2\"\r\n\"FOO\"=\"3\"\r\n");
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].key, "Foo");
  EXPECT_EQ(s[0].value, "3");
}

TEST(SettingsFile, EscapedQuotesAndMultiLineRecordsAreReassembled) {
  Settings s = parse_ok("\"k\"=\"say \\\"hi\\\"\r\nand \\\\ go\r\n\"\r\n\"next\"=\"n\"\r\n");
  EXPECT_EQ(s.get("k"), "say \"hi\"\nand \\ go\n");
  EXPECT_EQ(s.get("next"), "n");
}

TEST(SettingsFile, MalformedFilesAreRejectedWhole) {
  expect_invalid("\"a\"=\"1\" \"b\"=\"2\"\r\n");        // two records on one line
  expect_invalid("\"a\"=\"1\"\r\n\"b\"=\"2\" x\r\n");  // text after the closing quote
  expect_invalid("\"a\"=\"1\"\r\n\"b\"=\"unfinished\r\nvalue");  // cut inside a record
  expect_invalid("\"a\"=\"1\"\r\n\"b\"=");
  expect_invalid("\"a\"\"1\"\r\n");          // no equals sign
  expect_invalid("a=\"1\" \"\"\r\n");        // key not quoted
  expect_invalid("\"a\"=1\"\"\"\r\n");       // value not opened by a quote
  expect_invalid("x\"a\"=\"1\"\r\n");        // text before the first quote
  expect_invalid("\"a\"=\"1\\\"\r\n");       // closing quote escaped: cut at the end
  expect_invalid("garbage\r\n");
}

TEST(SettingsFile, MissingFileAndFolderCannotBeOpened) {
  TempDir dir;
  auto missing = settings_load_from_file(dir.file("none.lt"));
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), "Unable to open setting file for reading.");
  EXPECT_FALSE(settings_load_from_file(dir.path()).ok());
}

TEST(SettingsFile, LoaderAddsToAListAndReportsModificationTime) {
  TempDir dir;
  const auto path = dir.file("s.lt");
  write_file(path, "\"b\"=\"new\"\r\n\"c\"=\"3\"\r\n");
  Settings s;
  s.set("a", "1");
  s.set("B", "old");
  std::int64_t mtime = -1;
  ASSERT_TRUE(settings_load_from_file(path, s, &mtime).ok());
  EXPECT_GT(mtime, 0);
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[1].key, "B");
  EXPECT_EQ(s.get("b"), "new");
  EXPECT_FALSE(settings_load_from_file(dir.file("gone"), s, &mtime).ok());
  EXPECT_EQ(mtime, 0);
}

TEST(SettingsFile, SavingIntoAMissingFolderCreatesIt) {
  TempDir dir;
  const auto path = dir.file("deep/er/prefs.lt");
  Settings s;
  s.set("k", "v");
  ASSERT_TRUE(settings_dump_to_file(s, path).ok());
  EXPECT_EQ(read_file(path), "\"k\"=\"v\"\r\n");
}

TEST(SettingsFile, FailedSavesLeaveTheOldFileIntact) {
  TempDir dir;
  const auto path = dir.file("prefs.lt");
  write_file(path, "\"old\"=\"file\"\r\n");
  Settings s;
  s.set("new", std::string(200000, 'x'));

  // A write that fails part way (file size limit, as a full disk).
  struct rlimit saved {};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = saved;
  limit.rlim_cur = 4096;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  Status status = settings_dump_to_file(s, path);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(read_file(path), "\"old\"=\"file\"\r\n");

  // A read-only folder (root ignores folder permissions).
  if (::geteuid() != 0) {
    ::chmod(dir.path().c_str(), 0500);
    status = settings_dump_to_file(s, path);
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(read_file(path), "\"old\"=\"file\"\r\n");
  }

  // A rename that fails: the target is a folder that is not empty.
  const auto blocked = dir.file("blocked");
  std::filesystem::create_directories(blocked + "/inside");
  EXPECT_FALSE(settings_dump_to_file(s, blocked).ok());
  EXPECT_TRUE(std::filesystem::is_directory(blocked + "/inside"));
  // No temporary files are left behind by any of the failures.
  for (auto& e : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_NE(e.path().filename().string().rfind("tlv", 0), 0u) << e.path();
  }
}

}  // namespace
}  // namespace tolvan
