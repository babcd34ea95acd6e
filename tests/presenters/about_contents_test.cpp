// The About box's licence: found beside the sources (where a build runs from), and missing
// where there is none. Also the combo tables' lookup of a row by id.
#include <gtest/gtest.h>

#include "presenters/about_contents.h"
#include "presenters/combo_table.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

TEST(AboutLicense, TheProjectsLicenceIsReadWholeAndAMissingOneIsNone) {
  std::optional<std::string> text = about_license_text(TOLVAN_SOURCE_DIR);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->rfind("                    GNU GENERAL PUBLIC LICENSE", 0), 0u);
  EXPECT_NE(text->find("END OF TERMS AND CONDITIONS"), std::string::npos);

  testing::TempDir empty;
  EXPECT_FALSE(about_license_text(empty.path()).has_value());
  EXPECT_FALSE(about_license_text("").has_value()) << "no installation folder known";
  testing::write_file(empty.file("License.txt"), "");
  EXPECT_EQ(about_license_text(empty.path()), "");
}

TEST(ComboTable, ARowIsFoundByItsIdOrNotAtAll) {
  constexpr ComboRow table[] = {{3, "Immediately"}, {4, "Trigger key"}, {5, "Word ending"}};
  EXPECT_EQ(ui_offset_combo_fill_from_id(table, 3), 0);
  EXPECT_EQ(ui_offset_combo_fill_from_id(table, 5), 2);
  EXPECT_EQ(ui_offset_combo_fill_from_id(table, 6), -1);
  EXPECT_EQ(ui_offset_combo_fill_from_id({}, 3), -1);
}

}  // namespace
}  // namespace tolvan
