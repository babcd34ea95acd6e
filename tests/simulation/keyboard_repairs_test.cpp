// What Tolvan repairs around a replacement, as the user sees it: dead keys replayed so the
// application still composes accents, modifiers the user holds released and pressed again,
// Caps Lock off while typing, and keys Tolvan takes kept from the application or, where the
// desktop cannot keep them out, erased instead.
#include "scenario.h"

#include "platform/vk_codes.h"

namespace tolvan::testing {
namespace {

SCENARIO_SUITE_IN_BOTH_MODES(DeadKeys);
SCENARIO_SUITE_IN_BOTH_MODES(AltGr);
SCENARIO_SUITE_IN_BOTH_MODES(Modifiers);
SCENARIO_SUITE_IN_BOTH_MODES(CapsLock);
SCENARIO_SUITE_IN_BOTH_MODES(TakenKeys);

// What became of the user's key-downs of `vk`, in order.
std::vector<sim::EventFate> user_downs(const Scenario& s, uint16_t vk) {
  std::vector<sim::EventFate> fates;
  for (const auto& e : s.simulation->desktop().log().events())
    if (e.kind == sim::LoggedEvent::Kind::Key && !e.key.injected && e.key.vk == vk && e.key.down())
      fates.push_back(e.fate);
  return fates;
}

int injected_downs(Scenario& s, uint16_t vk) {
  int n = 0;
  for (const auto& e : s.desktop().log().injected())
    if (e.key.vk == vk && e.key.down()) ++n;
  return n;
}

TEST_P(DeadKeys, AccentsStillComposeInTheApplication) {
  for (const sim::Layout* layout : {&sim::us_international_layout(), &sim::german_layout()}) {
    Scenario on(swallowing());
    on.add({"btw"}, "by the way");
    on.options.layout = layout;
    EXPECT_EQ(on.type("è È ê Ê "), "è È ê Ê ") << layout->name;
    EXPECT_EQ(on.type("btw"), "è È ê Ê by the way") << layout->name;
  }
}

TEST_P(DeadKeys, AnAbbreviationWithAnAccentExpands) {
  for (const sim::Layout* layout : {&sim::us_international_layout(), &sim::german_layout()}) {
    Scenario on(swallowing());
    on.add({"café"}, "coffee shop", TRIGGER_WORD_ENDING);
    on.add({"naïve"}, "innocent");  // releases on its last letter
    on.options.layout = layout;
    EXPECT_EQ(on.type("café "), "coffee shop ") << layout->name;
    if (layout == &sim::us_international_layout()) {
      EXPECT_EQ(on.type("naïve"), "coffee shop innocent");
    }
  }
}

TEST_P(DeadKeys, TheSameDeadKeyTwiceComesOutAsTheApplicationMakesIt) {
  // Without Tolvan, on this desktop.
  sim::Desktop bare;
  sim::User user(bare);
  WindowId w = bare.add_window("Edit", sim::us_international_layout());
  bare.focus(w);
  user.tap(vk::Oem7);
  user.tap(vk::Oem7);
  user.tap('A');
  s.options.layout = &sim::us_international_layout();
  EXPECT_EQ(s.type("{'}{'}a"), bare.text(w));
}

TEST_P(DeadKeys, TheApplicationGetsTheDeadKeyAtOnceOrReplayed) {
  s.add({"café"}, "coffee shop", TRIGGER_WORD_ENDING);
  s.options.layout = &sim::german_layout();
  EXPECT_EQ(s.type("café x"), "coffee shop x");
  // Where translating a dead key would use up the application's accent (Windows), Tolvan
  // keeps the dead key back and sends it again with the next key; where the desktop only
  // observes keys, the application composes by itself.
  const std::vector<sim::EventFate> dead_key = user_downs(s, vk::Oem6);
  ASSERT_EQ(dead_key.size(), 1u);
  EXPECT_EQ(dead_key[0], swallowing() ? sim::EventFate::Swallowed : sim::EventFate::Delivered);
  EXPECT_EQ(injected_downs(s, vk::Oem6), swallowing() ? 1 : 0);
}

TEST_P(AltGr, CharactersOfTheThirdLevelAreTypedWithAltGr) {
  s.add({"mail"}, "{me}@example.org \xE2\x82\xAC 5 \\o/");
  s.options.layout = &sim::german_layout();
  EXPECT_EQ(s.type("mail"), "{me}@example.org \xE2\x82\xAC 5 \\o/");
}

TEST_P(Modifiers, AHeldShiftIsReleasedForTheTextAndPressedAgain) {
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_INSENSITIVE);
  EXPECT_EQ(s.type("bt{Shift down}w"), "by the way") << "typed without the held Shift";
  EXPECT_TRUE(s.desktop().key_state(vk::LShift) & kKeyDownBit) << "still held, so down again";
  EXPECT_EQ(s.type("x{Shift up}x"), "by the wayXx");
}

TEST_P(Modifiers, RightAltIsNeverPressedAgain) {
  s.prefs.set("trigger_hotkey", "18");  // Alt, so right Alt is held as the key that releases
  s.add({"btw"}, "by the way", TRIGGER_KEY);
  EXPECT_EQ(s.type("btw{RAlt down}"), "by the way");
  EXPECT_TRUE(s.desktop().user_holds(vk::RMenu));
  EXPECT_FALSE(s.desktop().key_state(vk::RMenu) & kKeyDownBit);
  // A right Alt that could not be kept out reached the application, so Tolvan let it up
  // before typing, with the one tap of Alt that keeps a lone Alt release from opening the
  // application's menu bar; it is not pressed again afterwards.
  EXPECT_EQ(injected_downs(s, vk::RMenu), swallowing() ? 0 : 1) << "right Alt pressed by Tolvan";
  EXPECT_EQ(s.type("{RAlt up}x"), "by the wayx");
  EXPECT_EQ(injected_downs(s, vk::RMenu), swallowing() ? 0 : 1) << "right Alt pressed again";
}

TEST_P(CapsLock, IsOffWhileTheTextIsTypedAndOnAgainAfterwards) {
  s.add({"btw"}, "By the way", TRIGGER_IMMEDIATELY, CASE_INSENSITIVE);
  EXPECT_EQ(s.type("{CapsLock}btw"), "By the way");
  EXPECT_TRUE(s.desktop().caps_lock_on());
  EXPECT_EQ(s.type(" x"), "By the way X");
}

TEST_P(TakenKeys, TheDelimiterAndTheTriggerKeyAreTakenAndTheDelimiterTypedAgain) {
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING);
  s.add({"omw"}, "on my way", TRIGGER_KEY);
  EXPECT_EQ(s.type("btw, omw{Ctrl}"), "by the way, on my way");
  // Kept from the application where the desktop can; else the comma reached it and was
  // erased with the abbreviation (one Backspace more), and Ctrl reached it too.
  const sim::EventFate taken = swallowing() ? sim::EventFate::Swallowed : sim::EventFate::Delivered;
  EXPECT_EQ(user_downs(s, vk::OemComma), std::vector<sim::EventFate>{taken});
  EXPECT_EQ(user_downs(s, vk::LControl), std::vector<sim::EventFate>{taken});
  EXPECT_EQ(injected_downs(s, vk::Back), swallowing() ? 6 : 7);
}

TEST_P(TakenKeys, TheContinueKeyOfAnInputIsKeptFromTheApplication) {
  s.add({"dr"}, "Dear %(Input name),");
  EXPECT_EQ(s.type("drBob{Tab}"), "Dear Bob,");
  // Swallowed where the desktop can; else grabbed for the time the input waits.
  EXPECT_EQ(user_downs(s, vk::Tab), std::vector<sim::EventFate>{swallowing() ? sim::EventFate::Swallowed
                                                                            : sim::EventFate::Grabbed});
  EXPECT_EQ(s.type("{Tab}"), "Dear Bob,\t") << "and Tab is the application's again";
}

}  // namespace
}  // namespace tolvan::testing
