// The table between X selection targets and Tolvan's clipboard formats, and the two lists
// made from it: the formats an owner's TARGETS offer, the targets Tolvan offers.
#include "platform/x11/clipboard_targets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvan::x11 {
namespace {

TEST(ClipboardTargets, Utf8IsUnicodeTextAndOtherNamesAreNumberedInOrderOfMeeting) {
  ClipboardFormatTable table;
  EXPECT_EQ(table.format_of("UTF8_STRING"), kFormatUnicodeText);
  EXPECT_EQ(table.format_of("image/png"), kFormatFirstRegistered);
  EXPECT_EQ(table.format_of("STRING"), kFormatFirstRegistered + 1);
  EXPECT_EQ(table.format_of("image/png"), kFormatFirstRegistered) << "one number per name";
  EXPECT_EQ(table.format_of("Image/PNG"), kFormatFirstRegistered + 2) << "atom names keep their case";
  EXPECT_EQ(table.target_of(kFormatUnicodeText), "UTF8_STRING");
  EXPECT_EQ(table.target_of(kFormatFirstRegistered + 1), "STRING");
  EXPECT_EQ(table.target_of(kFormatFirstRegistered + 3), std::nullopt) << "not numbered yet";
  EXPECT_EQ(table.target_of(kFormatBitmap), std::nullopt) << "no X target is a Windows bitmap";
  EXPECT_EQ(table.find("image/png"), kFormatFirstRegistered);
  EXPECT_EQ(table.find("text/html"), std::nullopt);
  EXPECT_EQ(table.format_of("text/html"), kFormatFirstRegistered + 3) << "find numbered nothing";
}

TEST(ClipboardTargets, MetaTargetsAndNonNamesAreNoFormats) {
  ClipboardFormatTable table;
  for (const char* meta : {"TARGETS", "TIMESTAMP", "MULTIPLE", "SAVE_TARGETS", "DELETE", "INSERT_SELECTION",
                           "INSERT_PROPERTY"}) {
    EXPECT_TRUE(is_meta_target(meta)) << meta;
    EXPECT_EQ(table.format_of(meta), std::nullopt) << meta;
    EXPECT_EQ(table.find(meta), std::nullopt) << meta;
  }
  EXPECT_FALSE(is_meta_target("targets"));
  EXPECT_FALSE(is_meta_target("INSERT"));
  EXPECT_EQ(table.format_of(""), std::nullopt);
  EXPECT_EQ(table.format_of(std::string("a\0b", 3)), std::nullopt);
  EXPECT_EQ(table.format_of("a"), kFormatFirstRegistered) << "nothing above took a number";
}

TEST(ClipboardTargets, TheRegisteredRangeEndsAt0xFFFF) {
  ClipboardFormatTable table;
  for (int i = 0; i < 0x4000; ++i) ASSERT_EQ(table.format_of("t" + std::to_string(i)), kFormatFirstRegistered + i);
  EXPECT_EQ(table.format_of("one too many"), std::nullopt);
  EXPECT_EQ(table.format_of("t5"), kFormatFirstRegistered + 5) << "known names still answer";
  EXPECT_EQ(table.target_of(0xFFFF), "t16383");
}

TEST(ClipboardTargets, AnOwnersTargetsBecomeItsFormatsInOrderEachOnce) {
  ClipboardFormatTable table;
  const std::vector<std::string> targets = {"TARGETS",   "image/png", "TIMESTAMP", "UTF8_STRING", "text/html",
                                            "image/png", "MULTIPLE",  "",          "UTF8_STRING"};
  const ClipboardFormat png = kFormatFirstRegistered, html = kFormatFirstRegistered + 1;
  EXPECT_EQ(formats_of_targets(table, targets), (std::vector<ClipboardFormat>{png, kFormatUnicodeText, html}));
  EXPECT_TRUE(formats_of_targets(table, {}).empty());
  EXPECT_TRUE(formats_of_targets(table, {"TARGETS", "TIMESTAMP"}).empty());
}

TEST(ClipboardTargets, AFloodOfTargetsIsCutOff) {
  ClipboardFormatTable table;
  std::vector<std::string> targets;
  for (size_t i = 0; i < kMaxTargets + 100; ++i) targets.push_back("flood" + std::to_string(i));
  EXPECT_EQ(formats_of_targets(table, targets).size(), kMaxTargets);
}

TEST(ClipboardTargets, TolvanOffersItsMetaTargetsThenEachFormatWithTextUnderEveryTextName) {
  ClipboardFormatTable table;
  const ClipboardFormat png = *table.format_of("image/png");
  const ClipboardFormat string_format = *table.format_of("STRING");
  EXPECT_EQ(targets_of_formats(table, {png, kFormatUnicodeText}),
            (std::vector<std::string>{"TARGETS", "TIMESTAMP", "image/png", "UTF8_STRING", "text/plain;charset=utf-8",
                                      "STRING", "TEXT"}));
  // A backup that held STRING of its own lists it once.
  EXPECT_EQ(targets_of_formats(table, {string_format, kFormatUnicodeText}),
            (std::vector<std::string>{"TARGETS", "TIMESTAMP", "STRING", "UTF8_STRING", "text/plain;charset=utf-8",
                                      "TEXT"}));
  EXPECT_EQ(targets_of_formats(table, {}), (std::vector<std::string>{"TARGETS", "TIMESTAMP"}));
  EXPECT_EQ(targets_of_formats(table, {kFormatDib, 0xFFFF}), (std::vector<std::string>{"TARGETS", "TIMESTAMP"}))
      << "formats without a target are left out";
}

}  // namespace
}  // namespace tolvan::x11
