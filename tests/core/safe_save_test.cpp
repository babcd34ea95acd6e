#include "core/safe_save.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>

#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

std::set<std::string> names_in(const std::string& dir) {
  std::set<std::string> names;
  for (auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename());
  return names;
}

TEST(SafeSave, WritesNewFileAndReplacesOldOneLeavingNoTemporaryFile) {
  TempDir dir;
  const auto target = dir.file("prefs.lt");
  ASSERT_TRUE(safe_save_file(target, "first\r\n").ok());
  EXPECT_EQ(read_file(target), "first\r\n");
  std::string big(1 << 20, 'x');
  ASSERT_TRUE(safe_save_file(target, big).ok());
  EXPECT_EQ(read_file(target), big);
  EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"prefs.lt"});
}

TEST(SafeSave, ReadOnlyFolderLeavesOldFileIntactAndGivesReason) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  TempDir dir;
  const auto target = dir.file("abbreviations.tlv");
  write_file(target, "old library");
  ::chmod(dir.path().c_str(), 0500);
  auto status = safe_save_file(target, "new library");
  ::chmod(dir.path().c_str(), 0700);
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().find("Unable to create temporary file in directory"), std::string::npos);
  EXPECT_EQ(read_file(target), "old library");
}

TEST(SafeSave, FailedRenameLeavesOldContentsAndRemovesTemporaryFile) {
  TempDir dir;
  // A non-empty folder cannot be replaced by a file: the rename fails after the write.
  const auto target = dir.file("target");
  std::filesystem::create_directory(target);
  write_file(target + "/keep", "old");
  auto status = safe_save_file(target, "new");
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().find("Could not move temporary file"), std::string::npos);
  EXPECT_EQ(read_file(target + "/keep"), "old");
  EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"target"});
}

TEST(SafeSave, WriteFailureHalfwayLeavesOldFileIntact) {
  TempDir dir;
  const auto target = dir.file("prefs.lt");
  write_file(target, "old preferences");
  // A file size limit makes the write fail part way, as a full disk would.
  struct rlimit saved {};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = saved;
  limit.rlim_cur = 4096;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  auto status = safe_save_file(target, std::string(100000, 'n'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, old_handler);
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().find("Could not write temporary file"), std::string::npos);
  EXPECT_EQ(read_file(target), "old preferences");
  EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"prefs.lt"});
}

TEST(SafeSave, MissingFolderIsAnErrorNotACrash) {
  TempDir dir;
  auto status = safe_save_file(dir.file("no/such/folder/file"), "x");
  EXPECT_FALSE(status.ok());
  EXPECT_FALSE(status.error().empty());
}

TEST(TempFilename, CreatesFreshPrivateFilesNamedTlvPlusSix) {
  TempDir dir;
  std::set<std::string> seen = names_in(dir.path());
  for (int i = 0; i < 200; ++i) {
    auto name = temp_filename_get(dir.file("target.tlv"), true);
    ASSERT_TRUE(name.ok()) << name.error();
    auto base = std::filesystem::path(*name).filename().string();
    ASSERT_EQ(base.size(), 9u);
    EXPECT_EQ(base.substr(0, 3), "tlv");
    for (char c : base.substr(3)) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)));
    EXPECT_TRUE(seen.insert(base).second) << "reused " << base;
    struct stat st {};
    ASSERT_EQ(::stat(name->c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
  }
  // Without the flag the path itself is the folder.
  auto in_dir = temp_filename_get(dir.path(), false);
  ASSERT_TRUE(in_dir.ok());
  EXPECT_EQ(std::filesystem::path(*in_dir).parent_path(), dir.path());
}

}  // namespace
}  // namespace tolvan
