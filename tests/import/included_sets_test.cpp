// The included sets: found in the installation's sets folder, added under the sandbox's top
// folder without asking, and the three ways it can go wrong; the sets Tolvan installs.
#include "import/included_sets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "library/abbrev_reader.h"
#include "library/abbrev_writer.h"
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

// Every set the File menu offers, as installed: one folder of text abbreviations that expand
// on a word-ending character, named after the set, none of them there twice.
TEST(IncludedSets, TheShippedSetsLoadAsOneFolderOfDistinctAutocorrections) {
  struct Expected {
    const char* name;
    size_t at_least, at_most;
    const char* sample;  // an abbreviation and its replacement
    const char* replacement;
  };
  for (const Expected& e : {Expected{"Typo AutoCorrections", 5000, 20000, "teh", "the"},
                            Expected{"TidBITSAutoCorrect", 40, 200, "dont", "don't"},
                            Expected{"Medical Transcription", 40, 200, "htn", "hypertension"}}) {
    SCOPED_TRACE(e.name);
    Installation inst;
    inst.gvar.set("installation_dir", TOLVAN_SOURCE_DIR "/data");
    ASSERT_TRUE(import_included_set(inst.library, inst.gvar, inst.prompts, e.name, false));
    EXPECT_TRUE(inst.prompts.shown.empty());
    ASSERT_EQ(inst.top().subfolders.size(), 1u);
    const Folder& set = *inst.top().subfolders[0];
    EXPECT_EQ(set.name, e.name);
    EXPECT_TRUE(set.subfolders.empty());
    EXPECT_GE(set.abbreviations.size(), e.at_least);
    EXPECT_LE(set.abbreviations.size(), e.at_most);
    std::set<std::string> seen;
    const Abbreviation* sample = nullptr;
    for (const auto& a : set.abbreviations) {
      ASSERT_EQ(a->type(), ABBR_TYPE_TEXT);
      ASSERT_EQ(a->abbreviations.size(), 1u);
      const std::string& typed = a->abbreviations[0];
      EXPECT_TRUE(seen.insert(typed).second) << typed << " is there twice";
      EXPECT_EQ(a->trigger_mode, TRIGGER_WORD_ENDING) << typed;
      EXPECT_EQ(a->anywhere, 0) << typed;
      EXPECT_FALSE(a->expansion().empty()) << typed;
      EXPECT_NE(a->expansion(), typed);
      if (typed == e.sample) sample = a.get();
    }
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->expansion(), e.replacement);
    EXPECT_EQ(sample->case_mode, CASE_ADAPT);
  }
}

// These sets are made by a script, not by Tolvan: what Tolvan writes for what it read must be
// the file itself, byte for byte (attributes, their order, escapes and times).
TEST(IncludedSets, TheShippedSetsAreWrittenAsTolvanWritesItsFiles) {
  for (const char* name : {"Typo AutoCorrections", "TidBITSAutoCorrect", "Medical Transcription"}) {
    SCOPED_TRACE(name);
    const std::string path = std::string(TOLVAN_SOURCE_DIR "/data/sets/") + name + ".tlv";
    UidCounter uids;
    auto loaded = abbr_load_abbreviations_from_file(path, uids, false);
    ASSERT_TRUE(loaded) << loaded.error();
    EXPECT_FALSE(loaded->marker);  // one folder, appended without asking the import mode
    // The reader puts each abbreviation in front; writing back in file order needs the
    // folder's order turned round.
    auto& abbreviations = loaded->root->abbreviations;
    std::reverse(abbreviations.begin(), abbreviations.end());
    FolderList list;
    list.push_back(std::move(loaded->root));
    EXPECT_EQ(abbr_folder_list_to_xml(list, false), testing::read_file(path));
  }
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
