// The included sets at work: imported from the File menu, applied, and then correcting what
// the user types in an application.
#include "import/included_sets.h"

#include "scenario.h"
#include "support/recording_prompts.h"

namespace tolvan::testing {
namespace {

SCENARIO_SUITE_IN_BOTH_MODES(IncludedSetsAtWork);

// Imports the installed set into the working copy and applies it, as the user does.
void import_and_apply(Scenario& s, const std::string& name) {
  RecordingPrompts prompts;
  s.gvar.set("installation_dir", TOLVAN_SOURCE_DIR "/data");
  ASSERT_TRUE(import_included_set(s.library, s.gvar, prompts, name, false));
  abbr_flush_sandbox_to_main(s.library);
}

TEST_P(IncludedSetsAtWork, TheTypoSetMendsSlipsInTheCaseTheyAreTypedIn) {
  import_and_apply(s, "Typo AutoCorrections");
  EXPECT_EQ(s.type("I saw teh "), "I saw the ");
  EXPECT_EQ(s.type("cat. Teh end, adn "), "I saw the cat. The end, and ");
  EXPECT_EQ(s.type("I recieve."), "I saw the cat. The end, and I receive.");
}

TEST_P(IncludedSetsAtWork, TheTypoSetLeavesRealWordsAndWordsThatContainASlipAlone) {
  import_and_apply(s, "Typo AutoCorrections");
  // "teh" inside a longer word is no slip; "form" and "then" are words.
  EXPECT_EQ(s.type("Tehran form then "), "Tehran form then ");
}

TEST_P(IncludedSetsAtWork, TheTidBitsSetPutsApostrophesAndSymbolsIn) {
  import_and_apply(s, "TidBITSAutoCorrect");
  EXPECT_EQ(s.type("I dont know, Im sure (c) "), "I don't know, I'm sure © ");
}

TEST_P(IncludedSetsAtWork, TheMedicalSetSpellsOutDictationAbbreviations) {
  import_and_apply(s, "Medical Transcription");
  EXPECT_EQ(s.type("Hx of htn, takes asa prn."),
                   "History of hypertension, takes aspirin as needed.");
}

}  // namespace
}  // namespace tolvan::testing
