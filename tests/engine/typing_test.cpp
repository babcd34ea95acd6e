// How the output thread types: Shift held across runs, AltGr, characters no key makes,
// posted characters, and the typing-time macros (Key, KeyDown, KeyUp, Delay) at their place.
#include "output_test_support.h"

namespace tolvan::testing {
namespace {

// The injected events after the keyboard preparation (Ctrl and Shift taps) and the erasing.
std::vector<std::string> typing_events(const KeysimScene& s) {
  std::vector<std::string> lines = s.injected();
  size_t last_back = 0;
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == "inject up Back") last_back = i + 1;
  return {lines.begin() + static_cast<long>(last_back), lines.end()};
}

TEST(KeysimTyping, HoldsShiftAcrossARunOfShiftedCharacters) {
  KeysimScene s;
  s.expand("abc", "ABC");
  EXPECT_EQ(s.text(), "ABC|");
  EXPECT_EQ(typing_events(s), (std::vector<std::string>{
                                  "inject down LShift", "inject down A", "inject up A", "inject down B",
                                  "inject up B", "inject down C", "inject up C", "inject up LShift"}));

  KeysimScene mixed;
  mixed.expand("x", "AbC!");
  EXPECT_EQ(mixed.text(), "AbC!|");
  auto events = typing_events(mixed);
  EXPECT_EQ(KeysimScene::count(events, "inject down LShift"), 2);
  EXPECT_EQ(KeysimScene::count(events, "inject up LShift"), 2);
  // "C!" share one press.
  EXPECT_EQ(events.back(), "inject up LShift");
}

TEST(KeysimTyping, ReleasesShiftBeforeAMacro) {
  KeysimScene s;
  s.expand("x", "AB%(Key Left)C");
  EXPECT_EQ(s.text(), "AC|B");
  auto events = typing_events(s);
  auto left = std::find(events.begin(), events.end(), "inject down Left");
  ASSERT_NE(left, events.end());
  EXPECT_EQ(*(left - 1), "inject up LShift");
}

TEST(KeysimTyping, UsesAltGrOnTheGermanLayout) {
  KeysimScene s({}, sim::german_layout());
  s.expand("at", "a@b{");
  EXPECT_EQ(s.text(), "a@b{|");
  auto events = typing_events(s);
  std::vector<std::string> at(events.begin() + 2, events.begin() + 8);
  // Windows brings the left Ctrl of AltGr along with the right Alt.
  EXPECT_EQ(at, (std::vector<std::string>{"inject down LControl", "inject down RMenu", "inject down Q",
                                          "inject up Q", "inject up RMenu", "inject up LControl"}));
  EXPECT_EQ(KeysimScene::count(events, "inject down LShift"), 0);
}

TEST(KeysimTyping, SendsCharactersTheLayoutCannotTypeAsUnicodeEvents) {
  KeysimScene s;
  s.expand("eur", "5 € and 😀");
  EXPECT_EQ(s.desktop.text(s.window), "5 € and 😀");
  auto events = typing_events(s);
  EXPECT_EQ(KeysimScene::count(events, "inject down U+20AC '€'"), 1);
  // A character beyond 16 bits goes as its two surrogate halves.
  int packets = 0;
  for (const auto& e : events) packets += e.rfind("inject down U+D", 0) == 0;
  EXPECT_EQ(packets, 2);

  KeysimScene de({}, sim::german_layout());
  de.expand("x", "Grüße €");
  EXPECT_EQ(de.desktop.text(de.window), "Grüße €");
  auto de_events = typing_events(de);
  for (const auto& e : de_events) EXPECT_EQ(e.find("U+"), std::string::npos) << e;
}

TEST(KeysimTyping, PostsCharactersToTheWindowClassThatNeedsIt) {
  for (OutputMethod method : {OutputMethod::kKeySimulation, OutputMethod::kClipboard}) {
    KeysimScene s({}, sim::us_layout(), "Maxthon2_Frame");
    s.set_prefs([method](OutputPrefs& p) { p.output_method = method; });
    const char* chosen = method == OutputMethod::kClipboard ? "clipboard" : "key simulation";
    s.desktop.clipboard().set_contents_text("mine");
    s.expand("mx", "Hi\nyou");
    EXPECT_EQ(s.desktop.text(s.window), "Hi\nyou");
    auto events = typing_events(s);
    EXPECT_EQ(events.front(), "post 'H'") << chosen;
    EXPECT_EQ(KeysimScene::count(events, "inject down V"), 0) << chosen;
    EXPECT_EQ(s.desktop.clipboard().text(), "mine");
  }
}

TEST(KeysimTyping, KeyMacrosPressTheirKeysCountTimes) {
  KeysimScene s;
  s.expand("t", "a%(Key Tab 3)b%(Key Tab 0)c");
  EXPECT_EQ(s.desktop.text(s.window), "a\t\t\tbc");

  KeysimScene chord;
  chord.desktop.set_text(chord.window, "first line\n");
  chord.expand("sel", "second%(Key Home)%(Key Shift+End)");
  EXPECT_EQ(chord.selection(), "first line\n^second|");

  KeysimScene unknown;
  unknown.expand("u", "%(Key Nonsense)x%(Keys Tab)y%(Abbrev whatever)z");
  EXPECT_EQ(unknown.text(), "x%(Keys Tab)yz|");
}

TEST(KeysimTyping, KeyDownHoldsAModifierThatTypingDoesNotPressAgain) {
  KeysimScene s;
  s.expand("sh", "%(KeyDown Shift)abc%(KeyUp Shift)d");
  EXPECT_EQ(s.text(), "ABCd|");
  auto events = typing_events(s);
  EXPECT_EQ(KeysimScene::count(events, "inject down LShift"), 1);
  EXPECT_EQ(KeysimScene::count(events, "inject up LShift"), 1);

  // A Shift the macro left down stays down after the replacement.
  KeysimScene left_down;
  left_down.expand("sh", "%(KeyDown Shift)ab");
  EXPECT_EQ(left_down.text(), "AB|");
  auto held = typing_events(left_down);
  EXPECT_EQ(KeysimScene::count(held, "inject up LShift"), 0);
}

TEST(KeysimTyping, DelayPausesOnTheClock) {
  KeysimScene s;
  uint64_t before = s.desktop.clock().total_slept_ms();
  s.expand("d", "a%(Delay 1s500ms)b%(Delay 250 )c");
  EXPECT_EQ(s.text(), "abc|");
  EXPECT_EQ(s.desktop.clock().total_slept_ms() - before, 1500u);

  // The pause comes between the characters around it.
  uint64_t typed_a = 0, typed_b = 0;
  for (const auto& e : s.desktop.log().injected()) {
    if (e.key.vk == 'A' && e.key.down()) typed_a = e.key.time_ms;
    if (e.key.vk == 'B' && e.key.down()) typed_b = e.key.time_ms;
  }
  EXPECT_EQ(typed_b - typed_a, 1500u);
}

TEST(KeysimTyping, CapitalisesOnlyTheFirstCharacterTyped) {
  KeysimScene s;
  s.expand("Ty", "%(Key Tab)über uns");
  EXPECT_EQ(s.desktop.text(s.window), "\tÜber uns");
}

}  // namespace
}  // namespace tolvan::testing
