#include "settings/settings.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

TEST(SettingsStore, KeysIgnoreCaseAndKeepFirstSpellingAndPosition) {
  Settings s;
  s.set("Foo", "1");
  s.set("bar", "2");
  s.set("foo", "3");
  s.set("FOO", "4");
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].key, "Foo");
  EXPECT_EQ(s[0].value, "4");
  EXPECT_EQ(s.get("fOO"), "4");
  EXPECT_EQ(s.get_offset_by_name("BAR"), 1);
  EXPECT_EQ(s.get_offset_by_name("baz"), -1);
  EXPECT_TRUE(s.does_exist("bAr"));
  EXPECT_FALSE(s.does_exist("ba"));
  ASSERT_NE(s.get_loc_by_name("bar"), nullptr);
  EXPECT_EQ(s.get_loc_by_name("bar")->value, "2");
  EXPECT_EQ(s.get_loc_by_name("nope"), nullptr);
}

TEST(SettingsStore, MissingKeysReadAsEmptyAndZeroAndIntegersAreDecimal) {
  Settings s;
  EXPECT_EQ(s.get("missing"), "");
  EXPECT_EQ(s.get_int("missing"), 0);
  s.set_int("n", -42);
  EXPECT_EQ(s.get("n"), "-42");
  s.set("lead", "  17 32");
  EXPECT_EQ(s.get_int("lead"), 17);  // atoi: white space, then the first number
  s.set("word", "abc");
  EXPECT_EQ(s.get_int("word"), 0);
  s.set("empty", "");
  EXPECT_TRUE(s.does_exist("empty"));
  EXPECT_EQ(s.get_int("empty"), 0);
}

TEST(SettingsStore, DeletingTheFirstKeyMakesTheSecondTheHead) {
  Settings s;
  s.set("a", "1");
  s.set("b", "2");
  s.set("c", "3");
  EXPECT_TRUE(s.delete_key("A"));
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].key, "b");
  EXPECT_FALSE(s.delete_key("zzz"));
  EXPECT_EQ(s.size(), 2u);
  s.set("a", "again");  // a re-set key goes to the end
  EXPECT_EQ(s.get_offset_by_name("a"), 2);
  s.clear();
  EXPECT_TRUE(s.empty());
}

TEST(SettingsStore, AppendDoesNotSearch) {
  Settings s;
  s.append("k", "first");
  s.append("x", "y");
  EXPECT_EQ(s.get("K"), "first");
  EXPECT_EQ(s.size(), 2u);
}

}  // namespace
}  // namespace tolvan
