// The About box: name, version, comment and the licence from the installation folder, or
// the error box when the licence is missing.
#include "gtk_test_support.h"
#include "presenters/about_contents.h"
#include "support/recording_prompts.h"
#include "support/temp_dir.h"
#include "ui/about_dialog.h"

namespace tolvan::ui {
namespace {

TEST(AboutDialog, NameVersionCommentAndTheInstalledLicence) {
  TOLVAN_NEED_DISPLAY();
  tolvan::testing::RecordingPrompts prompts;
  AboutDialog about(nullptr, TOLVAN_SOURCE_DIR, prompts);
  EXPECT_EQ(about.get_program_name(), "Tolvan");
  EXPECT_EQ(about.get_version(), TOLVAN_VERSION);
  EXPECT_EQ(about.get_comments(), "Typing everything manually is so old school.");
  EXPECT_EQ(about.get_license().raw(), about_license_text(TOLVAN_SOURCE_DIR).value());
  EXPECT_TRUE(prompts.shown.empty());
}

TEST(AboutDialog, AMissingLicenceIsReportedAndTheBoxShowsWithoutIt) {
  TOLVAN_NEED_DISPLAY();
  tolvan::testing::RecordingPrompts prompts;
  tolvan::testing::TempDir empty;
  AboutDialog about(nullptr, empty.path(), prompts);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].box, tolvan::testing::RecordingPrompts::Box::Error);
  EXPECT_EQ(prompts.shown[0].text,
            "License file doesn't exist! This is very, very bad. Try re-installing.");
  EXPECT_EQ(about.get_license(), "");
  EXPECT_EQ(about.get_program_name(), "Tolvan");
}

}  // namespace
}  // namespace tolvan::ui
