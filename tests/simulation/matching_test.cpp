// Matching as the user meets it: the user types in an application and Tolvan replaces
// what was typed, by trigger mode, case mode, Anywhere Mode, folders and alternatives.
#include "scenario.h"

#include <functional>
#include <utility>

#include "platform/vk_codes.h"

namespace tolvan::testing {
namespace {

SCENARIO_SUITE_IN_BOTH_MODES(TriggerModes);
SCENARIO_SUITE_IN_BOTH_MODES(CaseModes);
SCENARIO_SUITE_IN_BOTH_MODES(AnywhereMode);
SCENARIO_SUITE_IN_BOTH_MODES(Folders);
SCENARIO_SUITE_IN_BOTH_MODES(Matching);
SCENARIO_SUITE_IN_BOTH_MODES(KeyBuffer);
SCENARIO_SUITE_IN_BOTH_MODES(LibraryEdits);

TEST_P(TriggerModes, ImmediatelyReplacesAsTheLastCharacterIsTyped) {
  s.add({"btw"}, "by the way");
  EXPECT_EQ(s.type("I say btw"), "I say by the way");
  EXPECT_EQ(s.type(" and more", true), "I say by the way and more|");
}

TEST_P(TriggerModes, WordEndingWaitsForADelimiterAndTypesItAgain) {
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING);
  EXPECT_EQ(s.type("btw"), "btw");
  EXPECT_EQ(s.type("."), "by the way.");
  EXPECT_EQ(s.type(" btw\n"), "by the way. by the way\n");
  // "?" needs Shift: the Shift press keeps the abbreviation waiting.
  EXPECT_EQ(s.type(" btw?"), "by the way. by the way\n by the way?");
}

TEST_P(TriggerModes, WordEndingIsDroppedByAnyOtherKey) {
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING);
  EXPECT_EQ(s.type("btwx "), "btwx ");
}

TEST_P(TriggerModes, TheTriggerKeyReleasesItAndLeavesNoTrace) {
  s.add({"btw"}, "by the way", TRIGGER_KEY);
  EXPECT_EQ(s.type("btw "), "btw ") << "a delimiter does nothing for a trigger-key abbreviation";
  EXPECT_EQ(s.type("btw{Ctrl}"), "btw by the way");
  // A key that adds nothing to the key buffer leaves it waiting.
  EXPECT_EQ(s.type(" btw{F5}{Ctrl}"), "btw by the way by the way");
  EXPECT_EQ(s.type(" btwx{Ctrl}"), "btw by the way by the way btwx");
}

TEST_P(TriggerModes, TextExpanderModeUsesTheDefaultTriggerMode) {
  s.prefs.set_int("textexpander_mode", 1);
  s.prefs.set_int("default_trigger_mode", TRIGGER_WORD_ENDING);
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY);
  EXPECT_EQ(s.type("btw"), "btw");
  EXPECT_EQ(s.type(" "), "by the way ");
}

TEST_P(TriggerModes, TextExpanderModeWithTriggerKeyModeAbandonsTheDelimiter) {
  s.prefs.set_int("textexpander_mode", 1);
  s.prefs.set_int("default_trigger_mode", TRIGGER_KEY);
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY);
  EXPECT_EQ(s.type("btw{Ctrl}"), "btw") << "in TextExpander mode a delimiter releases it";
  EXPECT_EQ(s.type(","), "by the way") << "and is not typed again";
  EXPECT_EQ(s.type(" btw "), "by the way by the way");
}

TEST_P(TriggerModes, AnEmptyDelimiterListMakesWordEndingAbbreviationsInert) {
  s.prefs.set("delim_chars", "");
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING);
  EXPECT_EQ(s.type("btw. "), "btw. ");
}

TEST_P(CaseModes, AdaptFollowsTheTypedCase) {
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_ADAPT);
  EXPECT_EQ(s.type("btw "), "by the way ");
  EXPECT_EQ(s.type("Btw "), "by the way By the way ");
  // Shift held through the last letter: the capitals are typed while the user still holds
  // it (a Shift let go in the middle of the output would reach the application meanwhile).
  EXPECT_EQ(s.type("{Shift down}btw{Shift up}"), "by the way By the way BY THE WAY");
}

TEST_P(CaseModes, AdaptFollowsWhatWasTypedNotWhenItWasTyped) {
  // Only the typed letters decide: not a pause before them, nor one before the delimiter.
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING, CASE_ADAPT);
  EXPECT_EQ(s.type("{wait 5000}btw "), "by the way ");
  EXPECT_EQ(s.type("btw{wait 5000} "), "by the way by the way ");
  EXPECT_EQ(s.type("{wait 5000}Btw "), "by the way by the way By the way ");
}

TEST_P(CaseModes, InsensitiveMatchesAnyCaseAndKeepsTheExpansion) {
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_INSENSITIVE);
  EXPECT_EQ(s.type("BtW"), "by the way");
}

TEST_P(CaseModes, SensitiveNeedsTheExactCase) {
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_SENSITIVE);
  EXPECT_EQ(s.type("BTW Btw"), "BTW Btw");
}

TEST_P(AnywhereMode, OffNeedsANonAlphanumericBefore) {
  s.add({"btw"}, "by the way");
  EXPECT_EQ(s.type("xbtw"), "xbtw");
  EXPECT_EQ(s.type(" (btw"), "xbtw (by the way");
}

TEST_P(AnywhereMode, OnMatchesInsideWords) {
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, nullptr, 1);
  EXPECT_EQ(s.type("xbtw"), "xby the way");
}

TEST_P(AnywhereMode, OtherValuesNeedNothingTypedBefore) {
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, nullptr, 2);
  EXPECT_EQ(s.type("a btw"), "a btw");
  EXPECT_EQ(s.type("{click}btw"), "a btwby the way") << "a click empties the key buffer";
}

TEST_P(Folders, ADisabledFolderHidesOnlyItsOwnAbbreviations) {
  Folder& off = s.folder("Off", nullptr, true);
  Folder& on = s.folder("On", &off);
  s.add({"aaa"}, "hidden", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, &off);
  s.add({"bbb"}, "shown", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, &on);
  EXPECT_EQ(s.type("aaa bbb"), "aaa shown");
}

TEST_P(Matching, EveryAlternativeExpands) {
  s.add({"btw", "bw"}, "by the way");
  EXPECT_EQ(s.type("bw btw"), "by the way by the way");
}

TEST_P(Matching, TheLongestMatchWinsThenTheFirstInWalkOrder) {
  s.add({"btw"}, "short", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, nullptr, 1);
  s.add({"abtw"}, "long", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, nullptr, 1);
  Folder& first = s.folder("First");
  Folder& second = s.folder("Second");
  s.add({"zz"}, "one", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, &first);
  s.add({"zz"}, "two", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, &second);
  EXPECT_EQ(s.type("abtw zz"), "long one");
}

TEST_P(KeyBuffer, BackspaceRemovesTheLastCharacter) {
  s.add({"btw"}, "by the way");
  EXPECT_EQ(s.type("btx{BkSp}w"), "by the way");
}

TEST_P(KeyBuffer, FocusChangesClicksAndCaretKeysForgetWhatWasTyped) {
  s.add({"btw"}, "by the way");
  EXPECT_EQ(s.type("bt"), "bt");
  // Typing in another window in between.
  Simulation& sim = *s.simulation;
  sim.desktop().focus(sim.other_window());
  EXPECT_EQ(s.type("x"), "x");
  sim.desktop().focus(sim.window());
  EXPECT_EQ(s.type("w "), "btw ");
  EXPECT_EQ(s.type("bt{click}w "), "btw btw ");
  EXPECT_EQ(s.type("bt{Left}{Right}w"), "btw btw btw");
}

TEST_P(LibraryEdits, AChangeBetweenKeystrokesIsSeenAtOnce) {
  s.add({"btw"}, "by the way");
  s.start();
  EXPECT_EQ(s.type("bt"), "bt");
  abbr_create_sandbox(s.library);
  s.add({"omw"}, "on my way", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, s.library.sandbox.front().get());
  abbr_flush_sandbox_to_main(s.library);
  EXPECT_EQ(s.type("w omw"), "by the way on my way");
}

// Runs `act` once the library has a new main list, before the listeners added after it
// (the engine) hear of it.
class FirstToHear final : public LibraryListener {
 public:
  FirstToHear(Library& library, std::function<void()> act) : library_(library), act_(std::move(act)) {
    library_.add_listener(this);
  }
  ~FirstToHear() override { library_.remove_listener(this); }
  void main_list_changed() override {
    if (act_) std::exchange(act_, nullptr)();
  }

 private:
  Library& library_;
  std::function<void()> act_;
};

TEST_P(LibraryEdits, AKeyTypedWhileTheEngineIsBeingToldMatchesTheNewList) {
  // The hook runs on its own thread while the main window applies a change, so a key can
  // come between the new list replacing the old one and the engine hearing of it. It must
  // be matched against the new list, never the old one, which is gone by then.
  s.add({"btw"}, "by the way");
  std::string typed_meanwhile;
  FirstToHear typist(s.library, [&] { typed_meanwhile = s.type("w"); });
  s.start();
  EXPECT_EQ(s.type("bt"), "bt");
  abbr_create_sandbox(s.library);
  s.library.sandbox.front()->abbreviations.front()->expansion() = "by the way!";
  abbr_flush_sandbox_to_main(s.library);
  EXPECT_EQ(typed_meanwhile, "by the way!");
}

TEST_P(LibraryEdits, AnEmptyLibraryTypesThrough) {
  EXPECT_EQ(s.type("nothing to expand "), "nothing to expand ");
}

}  // namespace
}  // namespace tolvan::testing
