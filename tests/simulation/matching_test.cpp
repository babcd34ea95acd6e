// Matching as the user meets it: the user types in an application and Tolvan replaces
// what was typed, by trigger mode, case mode, Anywhere Mode, folders and alternatives.
#include "scenario.h"

#include "platform/vk_codes.h"

namespace tolvan::testing {
namespace {

TEST(TriggerModes, ImmediatelyReplacesAsTheLastCharacterIsTyped) {
  Scenario s;
  s.add({"btw"}, "by the way");
  EXPECT_EQ(s.type("I say btw"), "I say by the way");
  EXPECT_EQ(s.type(" and more", true), "I say by the way and more|");
}

TEST(TriggerModes, WordEndingWaitsForADelimiterAndTypesItAgain) {
  Scenario s;
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING);
  EXPECT_EQ(s.type("btw"), "btw");
  EXPECT_EQ(s.type("."), "by the way.");
  EXPECT_EQ(s.type(" btw\n"), "by the way. by the way\n");
  // "?" needs Shift: the Shift press keeps the abbreviation waiting.
  EXPECT_EQ(s.type(" btw?"), "by the way. by the way\n by the way?");
}

TEST(TriggerModes, WordEndingIsDroppedByAnyOtherKey) {
  Scenario s;
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING);
  EXPECT_EQ(s.type("btwx "), "btwx ");
}

TEST(TriggerModes, TriggerKeyReleasesAndIsSwallowed) {
  Scenario s;
  s.add({"btw"}, "by the way", TRIGGER_KEY);
  EXPECT_EQ(s.type("btw "), "btw ") << "a delimiter does nothing for a trigger-key abbreviation";
  EXPECT_EQ(s.type("btw{Ctrl}"), "btw by the way");
  // A key that adds nothing to the key buffer leaves it waiting.
  EXPECT_EQ(s.type(" btw{F5}{Ctrl}"), "btw by the way by the way");
  EXPECT_EQ(s.type(" btwx{Ctrl}"), "btw by the way by the way btwx");
}

TEST(TriggerModes, TextExpanderModeUsesTheDefaultTriggerMode) {
  Scenario s;
  s.prefs.set_int("textexpander_mode", 1);
  s.prefs.set_int("default_trigger_mode", TRIGGER_WORD_ENDING);
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY);
  EXPECT_EQ(s.type("btw"), "btw");
  EXPECT_EQ(s.type(" "), "by the way ");
}

TEST(TriggerModes, TextExpanderModeWithTriggerKeyModeAbandonsTheDelimiter) {
  Scenario s;
  s.prefs.set_int("textexpander_mode", 1);
  s.prefs.set_int("default_trigger_mode", TRIGGER_KEY);
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY);
  EXPECT_EQ(s.type("btw{Ctrl}"), "btw") << "in TextExpander mode a delimiter releases it";
  EXPECT_EQ(s.type(","), "by the way") << "and is not typed again";
  EXPECT_EQ(s.type(" btw "), "by the way by the way");
}

TEST(TriggerModes, AnEmptyDelimiterListMakesWordEndingAbbreviationsInert) {
  Scenario s;
  s.prefs.set("delim_chars", "");
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING);
  EXPECT_EQ(s.type("btw. "), "btw. ");
}

TEST(CaseModes, AdaptFollowsTheTypedCase) {
  Scenario s;
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_ADAPT);
  EXPECT_EQ(s.type("btw "), "by the way ");
  EXPECT_EQ(s.type("Btw "), "by the way By the way ");
  // Shift held through the last letter: the capitals are typed while the user still holds
  // it (a Shift let go in the middle of the output would reach the application meanwhile).
  EXPECT_EQ(s.type("{Shift down}btw{Shift up}"), "by the way By the way BY THE WAY");
}

TEST(CaseModes, InsensitiveMatchesAnyCaseAndKeepsTheExpansion) {
  Scenario s;
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_INSENSITIVE);
  EXPECT_EQ(s.type("BtW"), "by the way");
}

TEST(CaseModes, SensitiveNeedsTheExactCase) {
  Scenario s;
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_SENSITIVE);
  EXPECT_EQ(s.type("BTW Btw"), "BTW Btw");
}

TEST(AnywhereMode, OffNeedsANonAlphanumericBefore) {
  Scenario s;
  s.add({"btw"}, "by the way");
  EXPECT_EQ(s.type("xbtw"), "xbtw");
  EXPECT_EQ(s.type(" (btw"), "xbtw (by the way");
}

TEST(AnywhereMode, OnMatchesInsideWords) {
  Scenario s;
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, nullptr, 1);
  EXPECT_EQ(s.type("xbtw"), "xby the way");
}

TEST(AnywhereMode, OtherValuesNeedNothingTypedBefore) {
  Scenario s;
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, nullptr, 2);
  EXPECT_EQ(s.type("a btw"), "a btw");
  EXPECT_EQ(s.type("{click}btw"), "a btwby the way") << "a click empties the key buffer";
}

TEST(Folders, ADisabledFolderHidesOnlyItsOwnAbbreviations) {
  Scenario s;
  Folder& off = s.folder("Off", nullptr, true);
  Folder& on = s.folder("On", &off);
  s.add({"aaa"}, "hidden", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, &off);
  s.add({"bbb"}, "shown", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, &on);
  EXPECT_EQ(s.type("aaa bbb"), "aaa shown");
}

TEST(Matching, EveryAlternativeExpands) {
  Scenario s;
  s.add({"btw", "bw"}, "by the way");
  EXPECT_EQ(s.type("bw btw"), "by the way by the way");
}

TEST(Matching, TheLongestMatchWinsThenTheFirstInWalkOrder) {
  Scenario s;
  s.add({"btw"}, "short", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, nullptr, 1);
  s.add({"abtw"}, "long", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, nullptr, 1);
  Folder& first = s.folder("First");
  Folder& second = s.folder("Second");
  s.add({"zz"}, "one", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, &first);
  s.add({"zz"}, "two", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, &second);
  EXPECT_EQ(s.type("abtw zz"), "long one");
}

TEST(KeyBuffer, BackspaceRemovesTheLastCharacter) {
  Scenario s;
  s.add({"btw"}, "by the way");
  EXPECT_EQ(s.type("btx{BkSp}w"), "by the way");
}

TEST(KeyBuffer, FocusChangesClicksAndCaretKeysForgetWhatWasTyped) {
  Scenario s;
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

TEST(Library, AChangeBetweenKeystrokesIsSeenAtOnce) {
  Scenario s;
  s.add({"btw"}, "by the way");
  s.start();
  EXPECT_EQ(s.type("bt"), "bt");
  abbr_create_sandbox(s.library);
  s.add({"omw"}, "on my way", TRIGGER_IMMEDIATELY, CASE_SENSITIVE, s.library.sandbox.front().get());
  abbr_flush_sandbox_to_main(s.library);
  EXPECT_EQ(s.type("w omw"), "by the way on my way");
}

TEST(Library, AnEmptyLibraryTypesThrough) {
  Scenario s;
  EXPECT_EQ(s.type("nothing to expand "), "nothing to expand ");
}

}  // namespace
}  // namespace tolvan::testing
