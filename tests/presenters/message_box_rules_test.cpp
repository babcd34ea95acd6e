// What message boxes answer to Enter, how GTK's answers are read, and when replacing a file
// needs the user's word.
#include <gtest/gtest.h>

#include <unistd.h>

#include "presenters/message_box_buttons.h"
#include "presenters/overwrite_question.h"
#include "support/recording_prompts.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::RecordingPrompts;
using testing::TempDir;

TEST(MessageBoxDefaults, CautiousForWarningsAndErrorsEverywhereElseTheExpectedAnswer) {
  struct Case {
    PromptKind type;
    MessageButtons buttons;
    Response expected;
  };
  const Case cases[] = {
      {PromptKind::Info, MessageButtons::Ok, Response::Ok},
      {PromptKind::Error, MessageButtons::Ok, Response::Ok},
      {PromptKind::Warning, MessageButtons::Close, Response::Close},
      {PromptKind::Question, MessageButtons::Cancel, Response::Cancel},
      {PromptKind::Question, MessageButtons::YesNo, Response::Yes},
      {PromptKind::Info, MessageButtons::YesNo, Response::Yes},
      {PromptKind::Warning, MessageButtons::YesNo, Response::No},
      {PromptKind::Error, MessageButtons::YesNo, Response::No},
      {PromptKind::Question, MessageButtons::OkCancel, Response::Ok},
      {PromptKind::Info, MessageButtons::OkCancel, Response::Ok},
      {PromptKind::Warning, MessageButtons::OkCancel, Response::Cancel},
      {PromptKind::Error, MessageButtons::OkCancel, Response::Cancel},
      {PromptKind::Question, MessageButtons::None, Response::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ui_default_response_from_buttons(c.type, c.buttons), c.expected)
        << "type " << static_cast<int>(c.type) << ", buttons " << static_cast<int>(c.buttons);
  }
}

TEST(MessageBoxDefaults, GtkAnswersReadAsOursAndEverythingElseAsNone) {
  EXPECT_EQ(response_from_gtk(-5), Response::Ok);
  EXPECT_EQ(response_from_gtk(-6), Response::Cancel);
  EXPECT_EQ(response_from_gtk(-7), Response::Close);
  EXPECT_EQ(response_from_gtk(-8), Response::Yes);
  EXPECT_EQ(response_from_gtk(-9), Response::No);
  EXPECT_EQ(response_from_gtk(-4), Response::None);  // the window was closed
  EXPECT_EQ(response_from_gtk(-10), Response::None);  // Apply: not one of a box's buttons
  EXPECT_EQ(response_from_gtk(3), Response::None);
}

TEST(OverwriteQuestion, OnlyAnExistingFileIsAskedAbout) {
  TempDir dir;
  RecordingPrompts prompts;
  EXPECT_TRUE(ui_ask_overwrite_if_necessary(prompts, ""));
  EXPECT_TRUE(ui_ask_overwrite_if_necessary(prompts, dir.file("new.tlv")));
  EXPECT_TRUE(prompts.shown.empty());

  const std::string taken = dir.file("50% off.tlv");
  testing::write_file(taken, "x");
  prompts.answers = {Answer::No, Answer::Yes};
  EXPECT_FALSE(ui_ask_overwrite_if_necessary(prompts, taken));
  EXPECT_TRUE(ui_ask_overwrite_if_necessary(prompts, taken));
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].text, taken + " already exists.\n\nDo you want to replace it?");

  // A link to nothing would still be replaced by the save.
  const std::string dangling = dir.file("dangling");
  ASSERT_EQ(::symlink(dir.file("nowhere").c_str(), dangling.c_str()), 0);
  EXPECT_FALSE(ui_ask_overwrite_if_necessary(prompts, dangling));
  EXPECT_EQ(prompts.shown.size(), 3u);
}

}  // namespace
}  // namespace tolvan
