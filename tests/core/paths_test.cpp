#include "core/paths.h"

#include <gtest/gtest.h>

#include "core/key_buffer.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

TEST(Paths, PartsOfAPath) {
  EXPECT_EQ(extract_file_extension("/a/b/sets.textexpander"), ".textexpander");
  EXPECT_EQ(extract_file_extension("/a.d/file"), "");
  EXPECT_EQ(parse_out_directory("/home/u/x.tlv"), "/home/u");
  EXPECT_EQ(parse_out_directory("x.tlv"), "x.tlv");
  EXPECT_EQ(parse_out_filename("/home/u/x.tlv"), "x.tlv");
  EXPECT_EQ(parse_out_drive_letter_string("E:\\tools\\x.exe"), "E:");
  EXPECT_EQ(parse_out_drive_letter_string("/media/usb"), "");
  EXPECT_EQ(path_join("/a/", "/b"), "/a/b");
  EXPECT_EQ(path_join("a", "b"), "a/b");
}

TEST(Paths, UpdirifyTreatsRunsOfSeparatorsAsOne) {
  EXPECT_EQ(updirify("/media/usb/Tolvan/app/bin", 2), "/media/usb/Tolvan");
  EXPECT_EQ(updirify("/media//usb///bin//", 1), "/media//usb");
  EXPECT_EQ(updirify("/a", 1), "/");
  EXPECT_EQ(updirify("/a/b", 5), "/");
  EXPECT_EQ(updirify("rel/x", 1), "rel");
  EXPECT_EQ(updirify("rel/x", 0), "rel/x");
}

TEST(Paths, MkdirPCreatesEveryLevelAndAcceptsExisting) {
  testing::TempDir dir;
  const auto deep = dir.file("a/b//c");
  EXPECT_EQ(mkdir_p(deep), 0);
  EXPECT_TRUE(directory_exists(deep));
  EXPECT_EQ(mkdir_p(deep), 0);
  testing::write_file(dir.file("f"), "x");
  EXPECT_TRUE(isfile(dir.file("f")));
  EXPECT_FALSE(isfile(deep));
  EXPECT_NE(mkdir_p(dir.file("f/sub")), 0);
}

TEST(KeyBuffer, ShiftsAndResizesKeepTheNewestBytes) {
  std::vector<char> b = {'a', 'b', 'c', 'd'};
  shift_all_chars_left(b, 1);
  EXPECT_EQ(b, (std::vector<char>{'b', 'c', 'd', 0}));
  shift_all_chars_right(b, 2);
  EXPECT_EQ(b, (std::vector<char>{0, 0, 'b', 'c'}));
  shift_all_chars_left(b, 9);
  EXPECT_EQ(b, (std::vector<char>(4, 0)));

  std::vector<char> k = {'w', 'x', 'y', 'z'};
  EXPECT_EQ(resize_back_buffer(k, 2), (std::vector<char>{'y', 'z'}));
  EXPECT_EQ(resize_back_buffer(k, 6), (std::vector<char>{0, 0, 'w', 'x', 'y', 'z'}));
  EXPECT_EQ(resize_back_buffer({}, 3), (std::vector<char>(3, 0)));
}

}  // namespace
}  // namespace tolvan
