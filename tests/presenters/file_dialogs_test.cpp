// Where the file dialogs start, the extension a save dialog adds, and the folder a chosen
// link leads to.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "presenters/file_dialogs.h"
#include "support/recording_prompts.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::TempDir;

TEST(FileDialogStart, AFolderIsWhereToStartAFileIsProposedAndNothingElseForAnOpenDialog) {
  TempDir dir;
  const std::string file = dir.file("abbreviations.tlv");
  testing::write_file(file, "x");
  const std::string missing = dir.file("missing.tlv");
  const std::string fallback = dir.file("fallback");

  EXPECT_EQ(file_dialog_start(dir.path(), fallback, true), (DialogStart{dir.path(), ""}));
  EXPECT_EQ(file_dialog_start(dir.path(), fallback, false), (DialogStart{dir.path(), ""}));
  EXPECT_EQ(file_dialog_start(file, fallback, true), (DialogStart{fallback, file}));
  EXPECT_EQ(file_dialog_start(missing, fallback, true), (DialogStart{fallback, ""}));
  // A save dialog proposes a name that does not exist yet.
  EXPECT_EQ(file_dialog_start(missing, fallback, false), (DialogStart{fallback, missing}));
  EXPECT_EQ(file_dialog_start("", "", false), (DialogStart{"", ""}));
}

TEST(FileDialogSave, TheDefaultExtensionOnlyCompletesANameWithoutOne) {
  EXPECT_EQ(with_default_extension("/home/u/export", "tlv"), "/home/u/export.tlv");
  EXPECT_EQ(with_default_extension("/home/u/export.xml", "tlv"), "/home/u/export.xml");
  EXPECT_EQ(with_default_extension("/home/u.d/export", "tlv"), "/home/u.d/export.tlv")
      << "a dot in a folder's name is no extension";
  EXPECT_EQ(with_default_extension("/home/u/export", ""), "/home/u/export");
  EXPECT_EQ(with_default_extension("", "tlv"), "");
}

TEST(FileDialogSave, ACompletedNameThatExistsIsAskedAboutAndNoShowsTheDialogAgain) {
  TempDir dir;
  testing::RecordingPrompts prompts;
  std::vector<std::optional<std::string>> typed;
  size_t shown = 0;
  auto dialog = [&]() { return typed.at(shown++); };

  typed = {dir.file("export")};
  EXPECT_EQ(save_file_name_flow(dialog, "tlv", prompts), dir.file("export.tlv"));
  EXPECT_TRUE(prompts.shown.empty()) << "nothing there to replace";

  testing::write_file(dir.file("export.tlv"), "x");
  typed = {dir.file("export"), dir.file("export"), std::nullopt};
  shown = 0;
  prompts.answers = {Answer::No, Answer::Yes};
  EXPECT_EQ(save_file_name_flow(dialog, "tlv", prompts), dir.file("export.tlv"));
  EXPECT_EQ(shown, 2u);
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].text,
            dir.file("export.tlv") + " already exists.\n\nDo you want to replace it?");

  // A name typed whole was asked about by the dialog itself.
  typed = {dir.file("export.tlv")};
  shown = 0;
  EXPECT_EQ(save_file_name_flow(dialog, "tlv", prompts), dir.file("export.tlv"));
  EXPECT_EQ(prompts.shown.size(), 2u);

  typed = {dir.file("export"), std::nullopt};
  shown = 0;
  prompts.answers = {Answer::No};
  EXPECT_EQ(save_file_name_flow(dialog, "tlv", prompts), std::nullopt) << "then cancelled";
}

TEST(FolderDialog, AChosenLinkGivesTheFolderItLeadsTo) {
  TempDir dir;
  namespace fs = std::filesystem;
  fs::create_directory(dir.file("real"));
  ASSERT_EQ(::symlink(dir.file("real").c_str(), dir.file("link").c_str()), 0);
  ASSERT_EQ(::symlink(dir.file("none").c_str(), dir.file("dangling").c_str()), 0);
  testing::write_file(dir.file("file"), "x");
  ASSERT_EQ(::symlink(dir.file("file").c_str(), dir.file("file-link").c_str()), 0);

  EXPECT_EQ(folder_link_target(dir.file("link")), fs::canonical(dir.file("real")).string());
  EXPECT_EQ(folder_link_target(dir.file("real")), dir.file("real"));
  EXPECT_EQ(folder_link_target(dir.file("dangling")), dir.file("dangling"));
  EXPECT_EQ(folder_link_target(dir.file("file-link")), dir.file("file-link"));
}

}  // namespace
}  // namespace tolvan
