// The About box's licence: found beside the sources (where a build runs from), and missing
// where there is none.
#include <gtest/gtest.h>

#include "presenters/about_contents.h"
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

}  // namespace
}  // namespace tolvan
