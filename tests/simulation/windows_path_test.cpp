// What Windows' keyboard does to the text Tolvan types, on layouts with dead keys and AltGr:
// a character whose key is a dead key arrives as itself and takes nothing after it, and the
// left Ctrl that AltGr sends ahead of itself is no trigger key. Every scenario runs with a
// hook that swallows keys and with one that only observes them.
#include "scenario.h"

namespace tolvan::testing {
namespace {

SCENARIO_SUITE_IN_BOTH_MODES(WindowsPath);

const sim::Layout* const kDeadKeyLayouts[] = {&sim::us_international_layout(),
                                              &sim::german_layout()};

// ' " ^ ` are dead keys on US-International, ^ ´ ` on the German layout; the letter after
// each would compose with a pending accent.
TEST_P(WindowsPath, AccentCharactersOfAnExpansionComeOutAsThemselves) {
  for (const sim::Layout* layout : kDeadKeyLayouts) {
    Scenario on(swallowing());
    on.add({"le"}, "l'eau");
    on.add({"sa"}, "say \"ah\"");
    on.add({"xa"}, "x^a");
    on.add({"gr"}, "`e\xC2\xB4");  // `e´
    on.options.layout = layout;
    on.start();
    EXPECT_EQ(on.type("le"), "l'eau") << layout->name;
    EXPECT_EQ(on.type(" sa"), "l'eau say \"ah\"") << layout->name;
    EXPECT_EQ(on.type("e"), "l'eau say \"ah\"e") << layout->name << ": the quote took the e";
    EXPECT_EQ(on.type(" xa gr"), "l'eau say \"ah\"e x^a `e\xC2\xB4") << layout->name;
    EXPECT_EQ(on.type("a"), "l'eau say \"ah\"e x^a `e\xC2\xB4""a") << layout->name;
  }
}

TEST_P(WindowsPath, ADelimiterOnADeadKeyIsTypedAgainAsItself) {
  for (const sim::Layout* layout : kDeadKeyLayouts) {
    Scenario on(swallowing());
    on.prefs.set("delim_chars", std::string(kDefaultDelimChars) + "^");
    on.add({"brb"}, "be right back", TRIGGER_WORD_ENDING);
    on.options.layout = layout;
    on.start();
    EXPECT_EQ(on.type("\"brb\" ok"), "\"be right back\" ok") << layout->name;
    EXPECT_EQ(on.type(" 'brb'a"), "\"be right back\" ok 'be right back'a") << layout->name;
    EXPECT_EQ(on.type(" brb^o"), "\"be right back\" ok 'be right back'a be right back^o")
        << layout->name;
  }
}

// The character needs AltGr: @ on the German layout, ß on US-International. Whatever the
// timing of the threads, the result is the same every time.
TEST_P(WindowsPath, AltGrAfterATriggerKeyAbbreviationIsNoTrigger) {
  struct Case {
    const sim::Layout* layout;
    const char* altgr_char;
  };
  for (const Case& c : {Case{&sim::german_layout(), "@"},
                        Case{&sim::us_international_layout(), "\xC3\x9F"}}) {
    const std::string typed = std::string("sig") + c.altgr_char;
    for (int run = 0; run < 200; ++run) {
      Scenario on(swallowing());
      on.add({"sig"}, "Sincerely", TRIGGER_KEY);  // Ctrl, the default trigger key
      on.options.layout = c.layout;
      on.start();
      ASSERT_EQ(on.type(typed), typed) << c.layout->name << ", run " << run;
      ASSERT_TRUE(on.desktop().log().injected().empty())
          << c.layout->name << ", run " << run << ": Tolvan typed something";
    }
    Scenario on(swallowing());
    on.add({"sig"}, "Sincerely", TRIGGER_KEY);
    on.options.layout = c.layout;
    on.start();
    EXPECT_EQ(on.type("sig{Ctrl}" + std::string(c.altgr_char)),
              std::string("Sincerely") + c.altgr_char)
        << c.layout->name << ": Ctrl itself still triggers";
  }
}

// With Shift as the trigger key, the Shift of a shifted character releases the abbreviation
// while the rest of that character's keys are still to come. They come after the
// replacement, as a person's keys would, and never in the middle of it.
TEST_P(WindowsPath, AReplacementStartedInsideACharacterEndsTheSameEveryTime) {
  for (const char* typed : {"sig!", "sigA"}) {
    std::string first;
    for (int run = 0; run < 200; ++run) {
      Scenario on(swallowing());
      on.prefs.set("trigger_hotkey", "16");
      on.add({"sig"}, "Sincerely", TRIGGER_KEY);
      on.start();
      const std::string text = on.type(typed);
      ASSERT_EQ(text.rfind("Sincerely", 0), 0u) << typed << ", run " << run << ": " << text;
      if (run == 0) first = text;
      ASSERT_EQ(text, first) << typed << ", run " << run;
    }
  }
}

}  // namespace
}  // namespace tolvan::testing
