// The matching decision for a key-down, typed on the simulated US layout: immediate,
// trigger-key and word-ending abbreviations, TextExpander mode, the tooltip's conditions,
// the typed copy, delimiters and the preferences behind them.
#include <gtest/gtest.h>

#include "engine/matching/abbrev_matcher.h"
#include "matcher_typist.h"
#include "platform/vk_codes.h"
#include "settings/prefs.h"
#include "support/random_library.h"

namespace tolvan {
namespace {

using testing::add_abbrev;
using testing::add_folder;
using testing::add_top;
using testing::AbbrevModes;

class Matching : public ::testing::Test {
 protected:
  Matching() { prefs_.delim_chars = std::string(kDefaultDelimChars); prefs_.trigger_vks = {17}; }

  void set(const MatcherPrefs& p) {
    prefs_ = p;
    matcher.set_prefs(p);
  }
  MatcherPrefs& prefs() { return prefs_; }
  void apply() { matcher.set_prefs(prefs_); }
  void loaded() {
    apply();
    matcher.library_changed(main);
  }
  Abbreviation& abbrev(std::string s, int trigger, int case_mode = CASE_SENSITIVE) {
    return add_abbrev(*main[0], {std::move(s)}, AbbrevModes{case_mode, trigger, 1});
  }
  std::string typed_copy() { return matcher.get_typed_abbrev(*typist.last).value_or("(none)"); }

  FolderList main = [] {
    FolderList l;
    add_top(l);
    return l;
  }();
  KeyBuffer buffer;
  testing::RecordingTooltip tooltip;
  AbbrevMatcher matcher{buffer, &tooltip};
  testing::Typist typist{buffer, matcher};

 private:
  MatcherPrefs prefs_;
};

constexpr uint16_t kF5 = vk::F1 + 4;
constexpr uint16_t kKeyG = vk::KeyA + 6;
constexpr uint16_t kKeyX = vk::KeyA + 23;

constexpr testing::Answer kComplete = testing::Answer::kComplete;
constexpr testing::Answer kCompleteSwallow = testing::Answer::kCompleteSwallow;
constexpr testing::Answer kNot = testing::Answer::kNotComplete;

TEST_F(Matching, AnImmediateAbbreviationIsReleasedByItsOwnLastCharacter) {
  const Abbreviation& btw = abbrev("btw", TRIGGER_IMMEDIATELY);
  loaded();
  EXPECT_EQ(typist.type("bt"), kNot);
  EXPECT_FALSE(typist.last);
  EXPECT_EQ(typist.type("w"), kComplete);
  ASSERT_TRUE(typist.last);
  EXPECT_EQ(typist.last->abbreviation, &btw);
  EXPECT_EQ(typed_copy(), "btw");
  EXPECT_FALSE(matcher.waiting());
}

TEST_F(Matching, IgnoringCaseTheTypedCopyKeepsTheUsersCase) {
  abbrev("btw", TRIGGER_IMMEDIATELY, CASE_INSENSITIVE);
  loaded();
  EXPECT_EQ(typist.type("BTW"), kComplete);
  EXPECT_EQ(typed_copy(), "BTW");
}

TEST_F(Matching, TheTriggerKeyReleasesAWaitingAbbreviationAndIsSwallowed) {
  const Abbreviation& sig = abbrev("sig", TRIGGER_KEY);
  loaded();
  EXPECT_EQ(typist.type("sig"), kNot);
  ASSERT_TRUE(matcher.waiting());
  EXPECT_EQ(matcher.waiting()->abbreviation, &sig);
  // A key that adds nothing to the key buffer leaves it waiting: it is found again.
  EXPECT_EQ(typist.press(kF5), kNot);
  EXPECT_TRUE(matcher.waiting());
  EXPECT_EQ(typist.shift_down(), kNot);
  typist.shift_up();
  EXPECT_TRUE(matcher.waiting());
  EXPECT_EQ(typist.press(vk::LControl), kCompleteSwallow);
  ASSERT_TRUE(typist.last);
  EXPECT_EQ(typist.last->abbreviation, &sig);
  EXPECT_EQ(typed_copy(), "sig");
  EXPECT_EQ(matcher.trigger_vk_pressed(), vk::LControl);
  EXPECT_FALSE(matcher.waiting());
  matcher.reset_trigger_vk_pressed();
  EXPECT_EQ(matcher.trigger_vk_pressed(), 0);
}

TEST_F(Matching, AnyOtherCharacterDropsAWaitingTriggerKeyAbbreviation) {
  abbrev("sig", TRIGGER_KEY);
  loaded();
  typist.type("sig");
  EXPECT_EQ(typist.type("x"), kNot);
  EXPECT_FALSE(matcher.waiting());
  EXPECT_EQ(typist.press(vk::LControl), kNot);
  EXPECT_EQ(matcher.trigger_vk_pressed(), 0);
}

TEST_F(Matching, ShiftThenQuestionMarkStillReleasesAWordEndingAbbreviation) {
  const Abbreviation& btw = abbrev("btw", TRIGGER_WORD_ENDING);
  loaded();
  EXPECT_EQ(typist.type("btw"), kNot);
  EXPECT_EQ(typist.shift_down(), kNot);  // Shift keeps it waiting
  EXPECT_TRUE(matcher.waiting());
  EXPECT_EQ(typist.press(vk::Oem2), kCompleteSwallow);  // "?"
  typist.shift_up();
  ASSERT_TRUE(typist.last);
  EXPECT_EQ(typist.last->abbreviation, &btw);
  EXPECT_TRUE(typist.last->delimiter_printable);
  EXPECT_EQ(typist.last->delimiter_length, 1);
  // The "?" is in the key buffer already but not in the typed copy.
  EXPECT_EQ(buffer.bytes().back(), '?');
  EXPECT_EQ(typed_copy(), "btw");
}

TEST_F(Matching, AMultiByteDelimiterIsLeftOutOfTheTypedCopyByItsLength) {
  abbrev("ok", TRIGGER_WORD_ENDING);
  prefs().delim_chars = "\xC3\xA9";  // é
  loaded();
  typist.type("ok");
  buffer.key_pressed("\u00e9", 0);
  EXPECT_EQ(typist.ask(0, "\xC3\xA9"), kCompleteSwallow);
  EXPECT_EQ(typist.last->delimiter_length, 2);
  EXPECT_EQ(typed_copy(), "ok");
}

TEST_F(Matching, ANonDelimiterDropsAWaitingWordEndingAbbreviation) {
  abbrev("btw", TRIGGER_WORD_ENDING);
  loaded();
  typist.type("btw");
  EXPECT_EQ(typist.type("x"), kNot);
  EXPECT_FALSE(matcher.waiting());
  EXPECT_EQ(typist.type(" "), kNot);
}

TEST_F(Matching, WithNoDelimitersAWordEndingAbbreviationNeverExpands) {
  abbrev("btw", TRIGGER_WORD_ENDING);
  prefs().delim_chars.clear();
  loaded();
  typist.type("btw");
  EXPECT_EQ(typist.type(" "), kNot);
  EXPECT_EQ(typist.press(vk::Return), kNot);
}

TEST_F(Matching, ANewCandidateReplacesTheWaitingOne) {
  abbrev("ab", TRIGGER_KEY);
  const Abbreviation& abc = abbrev("abc", TRIGGER_KEY);
  loaded();
  typist.type("ab");
  typist.type("c");
  ASSERT_TRUE(matcher.waiting());
  EXPECT_EQ(matcher.waiting()->abbreviation, &abc);
}

TEST_F(Matching, AskedForTheAnswerOnlyACandidateAnswersCompleteWithoutAMatch) {
  abbrev("sig", TRIGGER_KEY);
  loaded();
  for (char c : std::string("sig")) buffer.add_byte(c);
  const MatchDecision decision =
      matcher.was_abbrev_typed_by_user(kKeyG, "g", MatchUse::kAnswerOnly);
  EXPECT_EQ(testing::answer_of(decision), kComplete);
  EXPECT_FALSE(decision.match);
  EXPECT_FALSE(matcher.waiting());
}

TEST_F(Matching, ALibraryChangeDropsTheWaitingAbbreviationAndResizesTheBuffer) {
  abbrev("sig", TRIGGER_KEY);
  loaded();
  typist.type("sig");
  ASSERT_TRUE(matcher.waiting());
  abbrev("muchlonger", TRIGGER_KEY);
  matcher.library_changed(main);
  EXPECT_FALSE(matcher.waiting());
  EXPECT_EQ(buffer.size(), kKeyBufferSlack + 10);
  EXPECT_EQ(std::string(buffer.bytes().substr(buffer.bytes().size() - 3)), "sig");
}

TEST_F(Matching, TextExpanderModeUsesTheDefaultModeAndDelimitersForBoth) {
  const Abbreviation& own3 = abbrev("te", TRIGGER_IMMEDIATELY);
  prefs().textexpander_mode = true;
  prefs().default_trigger_mode = TRIGGER_KEY;  // at delimiter, abandon delimiter
  prefs().delim_chars = std::string(kDefaultDelimChars) + "\x1b";
  loaded();
  EXPECT_EQ(matcher.effective_trigger_mode(own3), TRIGGER_KEY);
  EXPECT_EQ(typist.type("te"), kNot);
  ASSERT_TRUE(matcher.waiting());
  // The trigger key is not what releases it here; a delimiter is.
  EXPECT_EQ(typist.press(vk::LControl), kNot);
  EXPECT_TRUE(matcher.waiting());
  // Escape is a delimiter in TextExpander mode and does not clear the key buffer.
  EXPECT_FALSE(matcher.clear_key_buffer_key_pressed(vk::Escape));
  EXPECT_EQ(typist.press(vk::Escape), kCompleteSwallow);
  EXPECT_FALSE(typist.last->delimiter_printable);
  EXPECT_EQ(typed_copy(), "te");
}

TEST_F(Matching, EscapeIsNoDelimiterInNormalModeAndClearsTheBuffer) {
  abbrev("btw", TRIGGER_WORD_ENDING);
  prefs().delim_chars = std::string(kDefaultDelimChars) + "\x1b";
  loaded();
  EXPECT_TRUE(matcher.clear_key_buffer_key_pressed(vk::Escape));
  typist.type("btw");
  EXPECT_EQ(typist.press(vk::Escape), kNot);
}

TEST_F(Matching, TheTooltipIsScheduledOnlyUnderItsConditions) {
  const Abbreviation& trig = abbrev("tk", TRIGGER_KEY);
  abbrev("we", TRIGGER_WORD_ENDING);
  abbrev("im", TRIGGER_IMMEDIATELY);
  prefs().show_tooltips = true;
  prefs().show_tooltips_trigger = true;
  loaded();
  typist.type("tk");
  ASSERT_EQ(tooltip.scheduled.size(), 1u);
  EXPECT_EQ(tooltip.scheduled[0].abbreviation, &trig);
  typist.type(" we ");  // word-ending: its own switch is off
  typist.type(" im");
  EXPECT_EQ(tooltip.scheduled.size(), 1u);

  prefs().show_tooltips_wec = true;
  apply();
  typist.type(" we");
  EXPECT_EQ(tooltip.scheduled.size(), 2u);

  // Backing up onto an abbreviation shows it too.
  typist.type(" tkx");
  EXPECT_EQ(tooltip.scheduled.size(), 3u);
  typist.press(vk::Back);
  EXPECT_EQ(tooltip.scheduled.size(), 4u);

  // A key without text finds the waiting one again but schedules nothing.
  typist.press(kF5);
  EXPECT_TRUE(matcher.waiting());
  EXPECT_EQ(tooltip.scheduled.size(), 4u);

  prefs().show_tooltips = false;
  apply();
  typist.type(" tk");
  EXPECT_EQ(tooltip.scheduled.size(), 4u);
}

TEST_F(Matching, TextExpanderModeShowsTheTooltipWithoutTheTwoSwitches) {
  abbrev("te", TRIGGER_IMMEDIATELY);
  prefs().textexpander_mode = true;
  prefs().default_trigger_mode = TRIGGER_WORD_ENDING;
  prefs().show_tooltips = true;
  loaded();
  typist.type("te");
  EXPECT_EQ(tooltip.scheduled.size(), 1u);
}

TEST_F(Matching, PrintableTextAndCarriageReturnHideTheTooltip) {
  loaded();
  typist.type("a");
  EXPECT_EQ(tooltip.hides, 1);
  typist.press(vk::Return);
  EXPECT_EQ(tooltip.hides, 2);
  typist.press(kF5);
  typist.press(vk::Back);
  EXPECT_EQ(tooltip.hides, 2);
}

TEST_F(Matching, ClearingKeysAreTheCaretAndWindowKeys) {
  loaded();
  for (uint16_t k : {vk::Menu, vk::Prior, vk::Next, vk::End, vk::Home, vk::Left, vk::Up,
                     vk::Right, vk::Down, vk::Delete, vk::LWin, vk::RWin, vk::Apps, vk::Escape})
    EXPECT_TRUE(matcher.clear_key_buffer_key_pressed(k)) << k;
  for (uint16_t k : {vk::Back, vk::Tab, vk::Return, vk::Insert, vk::LMenu, vk::KeyA, vk::F1})
    EXPECT_FALSE(matcher.clear_key_buffer_key_pressed(k)) << k;
}

TEST_F(Matching, DelimitersComeFromTheListIgnoringCase) {
  prefs().delim_chars = "X \xC3\x89\xFF";  // X, space, É, a stray byte
  loaded();
  using Kind = DelimiterCheck::Kind;
  DelimiterCheck x = matcher.key_is_delim(kKeyX, "x");
  EXPECT_EQ(x.kind, Kind::kDelimiter);
  EXPECT_TRUE(x.printable);
  EXPECT_EQ(x.length, 1);
  DelimiterCheck e_acute = matcher.key_is_delim(0, "\xC3\xA9");
  EXPECT_EQ(e_acute.kind, Kind::kDelimiter);
  EXPECT_EQ(e_acute.length, 2);
  DelimiterCheck a = matcher.key_is_delim(vk::KeyA, "a");
  EXPECT_EQ(a.kind, Kind::kNotDelimiter);
  EXPECT_FALSE(a.printable);
  EXPECT_EQ(a.length, 0);
  EXPECT_EQ(matcher.key_is_delim(kF5, "").kind, Kind::kNotDelimiter);
  EXPECT_EQ(matcher.key_is_delim(vk::RShift, "").kind, Kind::kShift);
  // Enter's carriage return is looked for as a line feed.
  prefs().delim_chars = "\n";
  apply();
  DelimiterCheck enter = matcher.key_is_delim(vk::Return, "\r");
  EXPECT_EQ(enter.kind, Kind::kDelimiter);
  EXPECT_TRUE(enter.printable);
}

TEST_F(Matching, TheTriggerKeyAcceptsEitherSideOfAModifier) {
  prefs().trigger_vks = {vk::Control};
  loaded();
  EXPECT_TRUE(matcher.vk_is_trigger_vk(vk::Control));
  EXPECT_TRUE(matcher.vk_is_trigger_vk(vk::RControl));
  EXPECT_FALSE(matcher.vk_is_trigger_vk(vk::LShift));
  prefs().trigger_vks = {vk::Space};
  apply();
  EXPECT_TRUE(matcher.vk_is_trigger_vk(vk::Space));
  EXPECT_FALSE(matcher.vk_is_trigger_vk(vk::LControl));
}

TEST(MatcherPrefs, AreReadFromThePreferences) {
  Settings s;
  s.set("trigger_hotkey", "32 17");
  s.set("delim_chars", ",;");
  s.set("textexpander_mode", "1");
  s.set("default_trigger_mode", "9");  // out of range: repaired
  s.set("show_tooltips", "1");
  s.set("show_tooltips_wec", "1");
  MatcherPrefs p = MatcherPrefs::from(s);
  EXPECT_EQ(p.trigger_vks, std::vector<uint16_t>{32});
  EXPECT_EQ(p.delim_chars, ",;");
  EXPECT_TRUE(p.textexpander_mode);
  EXPECT_EQ(p.default_trigger_mode, TRIGGER_IMMEDIATELY);
  EXPECT_TRUE(p.show_tooltips);
  EXPECT_FALSE(p.show_tooltips_trigger);
  EXPECT_TRUE(p.show_tooltips_wec);
  EXPECT_EQ(trigger_hotkey_pref_string_to_int_plist("17  32", false), (std::vector<uint16_t>{17, 32}));
  EXPECT_TRUE(trigger_hotkey_pref_string_to_int_plist("", true).empty());
}

TEST(MatcherFolders, ADisabledFoldersSubfolderStillExpands) {
  FolderList main;
  Folder& top = add_top(main);
  Folder& off = add_folder(top, "off", true);
  add_abbrev(off, {"hid"});
  const Abbreviation& vis = add_abbrev(add_folder(off, "on"), {"vis"});
  KeyBuffer buffer;
  AbbrevMatcher matcher(buffer, nullptr);
  matcher.library_changed(main);
  testing::Typist typist(buffer, matcher);
  EXPECT_EQ(typist.type("hid"), kNot);
  EXPECT_EQ(typist.type("vis"), kComplete);
  EXPECT_EQ(typist.last->abbreviation, &vis);
}

TEST(MatcherFolders, AbbreviationTypedAfterAClearNeedsNothingBeforeIt) {
  FolderList main;
  Folder& top = add_top(main);
  add_abbrev(top, {"btw"}, AbbrevModes{CASE_SENSITIVE, TRIGGER_IMMEDIATELY, 0});
  KeyBuffer buffer;
  AbbrevMatcher matcher(buffer, nullptr);
  matcher.library_changed(main);
  testing::Typist typist(buffer, matcher);
  EXPECT_EQ(typist.type("xbtw"), kNot);
  EXPECT_EQ(typist.type("(btw"), kComplete);
  typist.type("x");
  buffer.clear();  // a window switch
  EXPECT_EQ(typist.type("btw"), kComplete);
}

}  // namespace
}  // namespace tolvan
