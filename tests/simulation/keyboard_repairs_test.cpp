// What Tolvan repairs around a replacement, as the user sees it: dead keys replayed so the
// application still composes accents, modifiers the user holds released and pressed again,
// Caps Lock off while typing, and keys that cannot be swallowed erased instead.
#include "scenario.h"

#include "platform/vk_codes.h"

namespace tolvan::testing {
namespace {

SimulationOptions on(const sim::Layout& layout, bool can_swallow = true) {
  SimulationOptions o;
  o.layout = &layout;
  o.can_swallow = can_swallow;
  return o;
}

TEST(DeadKeys, AccentsStillComposeInTheApplication) {
  for (const sim::Layout* layout : {&sim::us_international_layout(), &sim::german_layout()}) {
    Scenario s;
    s.add({"btw"}, "by the way");
    s.start(on(*layout));
    EXPECT_EQ(s.type("è È ê Ê "), "è È ê Ê ") << layout->name;
    EXPECT_EQ(s.type("btw"), "è È ê Ê by the way") << layout->name;
  }
}

TEST(DeadKeys, AnAbbreviationWithAnAccentExpands) {
  for (const sim::Layout* layout : {&sim::us_international_layout(), &sim::german_layout()}) {
    Scenario s;
    s.add({"café"}, "coffee shop", TRIGGER_WORD_ENDING);
    s.add({"naïve"}, "innocent");  // releases on its last letter
    s.start(on(*layout));
    EXPECT_EQ(s.type("café "), "coffee shop ") << layout->name;
    if (layout == &sim::us_international_layout())
      EXPECT_EQ(s.type("naïve"), "coffee shop innocent");
  }
}

TEST(DeadKeys, TheSameDeadKeyTwiceComesOutAsTheApplicationMakesIt) {
  // Without Tolvan, on this desktop.
  sim::Desktop bare;
  sim::User user(bare);
  WindowId w = bare.add_window("Edit", sim::us_international_layout());
  bare.focus(w);
  user.tap(vk::Oem7);
  user.tap(vk::Oem7);
  user.tap('A');
  Scenario s;
  s.start(on(sim::us_international_layout()));
  EXPECT_EQ(s.type("{'}{'}a"), bare.text(w));
}

TEST(DeadKeys, AnObservingDesktopLeavesComposingToTheApplication) {
  Scenario s;
  s.add({"café"}, "coffee shop", TRIGGER_WORD_ENDING);
  s.start(on(sim::german_layout(), false));
  EXPECT_EQ(s.type("café x"), "coffee shop x");
}

TEST(AltGr, CharactersOfTheThirdLevelAreTypedWithAltGr) {
  Scenario s;
  s.add({"mail"}, "{me}@example.org \xE2\x82\xAC 5 \\o/");
  s.start(on(sim::german_layout()));
  EXPECT_EQ(s.type("mail"), "{me}@example.org \xE2\x82\xAC 5 \\o/");
}

TEST(Modifiers, AHeldShiftIsReleasedForTheTextAndPressedAgain) {
  Scenario s;
  s.add({"btw"}, "by the way", TRIGGER_IMMEDIATELY, CASE_INSENSITIVE);
  EXPECT_EQ(s.type("bt{Shift down}w"), "by the way") << "typed without the held Shift";
  EXPECT_TRUE(s.desktop().key_state(vk::LShift) & kKeyDownBit) << "still held, so down again";
  EXPECT_EQ(s.type("x{Shift up}x"), "by the wayXx");
}

TEST(Modifiers, RightAltIsNeverPressedAgain) {
  Scenario s;
  s.prefs.set("trigger_hotkey", "18");  // Alt, so right Alt is held as the key that releases
  s.add({"btw"}, "by the way", TRIGGER_KEY);
  EXPECT_EQ(s.type("btw{RAlt down}"), "by the way");
  EXPECT_TRUE(s.desktop().user_holds(vk::RMenu));
  EXPECT_FALSE(s.desktop().key_state(vk::RMenu) & kKeyDownBit);
  for (const auto& e : s.desktop().log().injected())
    EXPECT_FALSE(e.key.vk == vk::RMenu && e.key.down()) << "right Alt pressed by Tolvan";
  EXPECT_EQ(s.type("{RAlt up}x"), "by the wayx");
}

TEST(CapsLock, IsOffWhileTheTextIsTypedAndOnAgainAfterwards) {
  Scenario s;
  s.add({"btw"}, "By the way", TRIGGER_IMMEDIATELY, CASE_INSENSITIVE);
  EXPECT_EQ(s.type("{CapsLock}btw"), "By the way");
  EXPECT_TRUE(s.desktop().caps_lock_on());
  EXPECT_EQ(s.type(" x"), "By the way X");
}

TEST(NoSwallow, ADelimiterThatReachedTheApplicationIsErasedAndTypedAgain) {
  Scenario s;
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING);
  s.add({"omw"}, "on my way", TRIGGER_KEY);
  s.start(on(sim::us_layout(), false));
  EXPECT_EQ(s.type("btw, omw{Ctrl}"), "by the way, on my way");
}

TEST(NoSwallow, TheContinueKeyOfAnInputIsKeptFromTheApplication) {
  Scenario s;
  s.add({"dr"}, "Dear %(Input name),");
  s.start(on(sim::us_layout(), false));
  EXPECT_EQ(s.type("drBob{Tab}"), "Dear Bob,");
}

}  // namespace
}  // namespace tolvan::testing
