// The included sets: found in the installation's sets folder, added under the sandbox's top
// folder without asking, and the three ways it can go wrong.
#include "import/included_sets.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "library/folder_tree.h"
#include "support/recording_prompts.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::RecordingPrompts;
using testing::TempDir;

struct Installation {
  TempDir dir;
  RunTimeVariables gvar;
  Library library;
  RecordingPrompts prompts;
  Installation() {
    gvar.set("installation_dir", dir.path());
    std::filesystem::create_directories(dir.file("sets"));
    library.sandbox.push_back(abbr_create_absolute_parent_folder(library.uids));
  }
  void write_set(const std::string& name, const std::string& text) {
    testing::write_file(dir.file("sets/" + name + ".tlv"), text);
  }
  const Folder& top() const { return *library.sandbox[0]; }
};

TEST(IncludedSets, TheShippedExamplesLoadAndShowEveryKindOfAbbreviation) {
  Installation inst;
  inst.gvar.set("installation_dir", TOLVAN_SOURCE_DIR "/data");
  ASSERT_TRUE(import_included_set(inst.library, inst.gvar, inst.prompts, kExamplesSet, false));
  ASSERT_EQ(inst.top().subfolders.size(), 1u);
  const Folder& set = *inst.top().subfolders[0];
  EXPECT_EQ(set.name, "Examples");
  bool trigger_modes[6] = {}, adapts = false, date = false, cursor = false, fill_in = false,
       website = false;
  for (const auto& a : set.abbreviations) {
    trigger_modes[a->trigger_mode] = true;
    adapts |= a->case_mode == CASE_ADAPT;
    if (a->type() == ABBR_TYPE_WEBSITE) {
      website = !a->website().address.empty();
      continue;
    }
    ASSERT_EQ(a->type(), ABBR_TYPE_TEXT);
    date |= a->expansion().find("%(Year)") != std::string::npos;
    cursor |= a->expansion().find("%(cursor)") != std::string::npos;
    fill_in |= a->expansion().find("%(Input") != std::string::npos;
  }
  EXPECT_TRUE(trigger_modes[TRIGGER_IMMEDIATELY] && trigger_modes[TRIGGER_KEY] &&
              trigger_modes[TRIGGER_WORD_ENDING]);
  EXPECT_TRUE(adapts && date && cursor && fill_in && website);
  EXPECT_TRUE(inst.prompts.shown.empty());
}

TEST(IncludedSets, AddedUnderTheTopWithTheSetsNameWhenItHasNone) {
  Installation inst;
  inst.write_set("Typo AutoCorrections",
                 "<Tolvan n=\"\" t=\"0\" d=\"0\"><a a=\"teh\" d=\"\" e=\"the\" c=\"2\" t=\"5\" r=\"0\" "
                 "x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/></Tolvan>");
  Folder* told = nullptr;
  ASSERT_TRUE(import_included_set(inst.library, inst.gvar, inst.prompts, "Typo AutoCorrections",
                                  false, [&](Folder& f) { told = &f; }));
  ASSERT_EQ(inst.top().subfolders.size(), 1u);
  EXPECT_EQ(told, inst.top().subfolders[0].get());
  EXPECT_EQ(told->name, "Typo AutoCorrections");
  EXPECT_EQ(told->parent, &inst.top());
  EXPECT_EQ(told->abbreviations.size(), 1u);
}

TEST(IncludedSets, MissingSetIsReportedUnlessQuietAndADamagedOneAlways) {
  Installation inst;
  EXPECT_FALSE(import_included_set(inst.library, inst.gvar, inst.prompts, "Examples", true));
  EXPECT_TRUE(inst.prompts.shown.empty());
  EXPECT_FALSE(import_included_set(inst.library, inst.gvar, inst.prompts, "Medical Transcription", false));
  ASSERT_EQ(inst.prompts.shown.size(), 1u);
  EXPECT_EQ(inst.prompts.shown[0].text,
            "Unable to find the Medical Transcription abbreviation set in the installation "
            "directory. Try reinstalling and trying again.");

  inst.write_set("Broken", "<Tolvan n=\"x\"><a a=");
  EXPECT_FALSE(import_included_set(inst.library, inst.gvar, inst.prompts, "Broken", true));
  ASSERT_EQ(inst.prompts.shown.size(), 2u);
  EXPECT_EQ(inst.prompts.shown[1].text.rfind("Error loading included abbreviation set: ", 0), 0u);
  EXPECT_TRUE(inst.top().subfolders.empty());
}

}  // namespace
}  // namespace tolvan
