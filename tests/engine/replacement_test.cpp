// One replacement from start to end: what is erased, what text is built (case, delimiter,
// caret mark), which window receives it, and what the output thread hands back to the hook.
#include "engine/output/output_thread.h"


#include "output_test_support.h"

namespace tolvan::testing {
namespace {

using sim::Desktop;

TEST(KeysimReplace, ErasesTheTypedAbbreviationAndTypesTheExpansion) {
  KeysimScene s;
  s.desktop.set_text(s.window, "I said ");
  s.expand("btw", "by the way");
  EXPECT_EQ(s.text(), "I said by the way|");
  EXPECT_EQ(s.count_injected("inject down Back"), 3);
  // The keyboard goes back to the hook in this order; Caps Lock only after key simulation.
  EXPECT_EQ(s.hook.posts, (std::vector<MonMessage>{MonMessage::ClearKeyBuffer, MonMessage::RestoreModifiers,
                                                   MonMessage::RestoreCapsLock, MonMessage::EnableHook}));
}

TEST(KeysimReplace, AWindowThatTakesKeysLazilyGetsThemPaced) {
  KeysimScene writer({}, sim::us_layout(), "libreoffice-writer");
  writer.expand("btw", "by the way");
  EXPECT_EQ(writer.text(), "by the way|");
  EXPECT_GT(writer.desktop.paced_key_events(), 0) << "its keys paced";
  EXPECT_FALSE(writer.desktop.keys_paced()) << "and no longer afterwards";

  KeysimScene other;
  other.expand("btw", "by the way");
  EXPECT_EQ(other.desktop.paced_key_events(), 0) << "no pacing where it is not needed";

  KeysimScene listed;
  listed.set_prefs([](OutputPrefs& p) { p.lazy_input_classes = "Slow;EDIT"; });
  listed.expand("btw", "by the way");
  EXPECT_GT(listed.desktop.paced_key_events(), 0) << "the list is the user's";
}

TEST(KeysimReplace, CharactersWithoutAKeyAreAnnouncedBeforeAnythingIsErased) {
  KeysimScene s;
  s.expand("qqu", "caf\u00e9 \u65e5\u672c \u00e9");
  EXPECT_EQ(s.text(), "caf\u00e9 \u65e5\u672c \u00e9|");
  const auto prepared = s.desktop.prepared();
  ASSERT_EQ(prepared.size(), 1u) << "the text is announced once";
  EXPECT_EQ(prepared.front().first, U"\u00e9\u65e5\u672c") << "each once, in order";
  EXPECT_EQ(prepared.front().second, 0u) << "before the first Backspace";
}

TEST(KeysimReplace, ErasesByCharactersAndOneMoreForAPendingDeadKey) {
  KeysimScene s({}, sim::german_layout());
  auto record = s.typed("äö", "umlauts");
  s.run(*record);
  EXPECT_EQ(s.text(), "umlauts|");
  EXPECT_EQ(s.count_injected("inject down Back"), 2);

  KeysimScene dead;
  dead.desktop.set_text(dead.window, "x");  // what the dead key left in the application
  auto with_dead = dead.typed("btw", "by the way");
  with_dead->dead_key = true;
  dead.run(*with_dead);
  EXPECT_EQ(dead.text(), "by the way|");
  EXPECT_EQ(dead.count_injected("inject down Back"), 4);
}

TEST(KeysimReplace, MenuInsertionErasesNothingAndEmptyTypedTextInsertsNothing) {
  KeysimScene s;
  s.desktop.set_text(s.window, "keep ");
  auto record = s.typed("", "inserted");
  record->typed = "menu";
  record->do_not_erase = true;
  s.run(*record);
  EXPECT_EQ(s.text(), "keep inserted|");
  EXPECT_EQ(s.count_injected("inject down Back"), 0);

  KeysimScene empty;
  empty.desktop.set_text(empty.window, "keep");
  auto nothing = empty.typed("", "inserted");
  empty.run(*nothing);
  EXPECT_EQ(empty.text(), "keep|");
  // The hook gets its keyboard back all the same.
  EXPECT_EQ(empty.hook.posts.back(), MonMessage::EnableHook);
}

TEST(KeysimReplace, AdaptsTheCaseToWhatWasTyped) {
  KeysimScene first;
  first.expand("Btw", "by the way");
  EXPECT_EQ(first.text(), "By the way|");

  KeysimScene all;
  all.expand("BTW", "by the way");
  EXPECT_EQ(all.text(), "BY THE WAY|");

  KeysimScene exact;
  auto record = exact.typed("Btw", "by the way");
  record->abbreviation->case_mode = CASE_SENSITIVE;
  exact.run(*record);
  EXPECT_EQ(exact.text(), "by the way|");
}

TEST(KeysimReplace, RetypesTheDelimiterOfAWordEndingAbbreviation) {
  KeysimScene s;
  auto record = s.typed("btw", "by the way", TRIGGER_WORD_ENDING);
  record->delimiter_key = vk::Oem2;
  record->delimiter_shift = true;
  record->delimiter_char = U'?';
  s.run(*record);
  EXPECT_EQ(s.text(), "by the way?|");

  // An immediate abbreviation has no delimiter to give back.
  KeysimScene immediate;
  auto now = immediate.typed("btw", "by the way", TRIGGER_IMMEDIATELY);
  now->delimiter_char = U' ';
  immediate.run(*now);
  EXPECT_EQ(immediate.text(), "by the way|");

  // In TextExpander mode the default trigger mode decides, not the abbreviation's.
  KeysimScene te;
  te.set_prefs([](OutputPrefs& p) {
    p.textexpander_mode = true;
    p.default_trigger_mode = TRIGGER_WORD_ENDING;
  });
  auto te_record = te.typed("btw", "by the way", TRIGGER_IMMEDIATELY);
  te_record->delimiter_char = U'\n';
  te.run(*te_record);
  EXPECT_EQ(te.text(), "by the way\n|");
}

TEST(KeysimReplace, TheClipboardMacroReadsTheClipboardBeforeAnythingIsTyped) {
  KeysimScene s;
  s.desktop.clipboard().set_contents_text("copied\r\ntext");
  s.expand("cb", "[%(clipboard)]");
  EXPECT_EQ(s.desktop.text(s.window), "[copied\ntext]");
}

TEST(KeysimReplace, TypesANewlineAsEnterWithoutControl) {
  KeysimScene s;
  s.expand("addr", "Main Street 1\nSpringfield");
  EXPECT_EQ(s.desktop.text(s.window), "Main Street 1\nSpringfield");
  EXPECT_EQ(s.count_injected("inject down Return"), 1);
  // Only the preparation taps Ctrl; nothing is typed with it held.
  EXPECT_EQ(s.count_injected("inject down LControl"), 1);
  EXPECT_EQ(s.count_injected("inject down RControl"), 2);
}

TEST(KeysimReplace, MovesTheCaretBackToTheCursorMark) {
  KeysimScene s;
  s.expand("hw", "Hello %(cursor)world");
  EXPECT_EQ(s.text(), "Hello |world");
  EXPECT_EQ(s.count_injected("inject down Left"), 5);

  KeysimScene delim;
  auto record = delim.typed("hw", "Hello %(cursor)world", TRIGGER_WORD_ENDING);
  record->delimiter_char = U' ';
  delim.run(*record);
  EXPECT_EQ(delim.text(), "Hello |world ");
  EXPECT_EQ(record->cursor_back, 6);

  // Typing-time macros after the mark take no room once they ran; an escaped one is text.
  KeysimScene macros;
  macros.expand("m", "a%(cursor)b%(Delay 10)c%%(Key Tab)d");
  EXPECT_EQ(macros.text(), "a|bc%(Key Tab)d");
}

TEST(KeysimReplace, CapsLockIsOffWhileTypingAndOnAgainAfterwards) {
  KeysimScene s;
  s.user.tap(vk::Capital);
  ASSERT_TRUE(s.desktop.caps_lock_on());
  s.desktop.set_text(s.window, "");
  auto record = s.typed("", "Mixed Case");
  s.desktop.set_text(s.window, "mc");
  record->typed = "mc";
  s.run(*record);
  EXPECT_EQ(s.text(), "Mixed Case|");
  EXPECT_TRUE(s.desktop.caps_lock_on());
}

TEST(KeysimReplace, LaunchersAreHandedOverInsteadOfTyped) {
  KeysimScene s;
  s.desktop.set_text(s.window, "run ");
  auto record = s.typed("ed", "");
  record->abbreviation->data = ProgInfo{"/usr/bin/editor", "", "", 0, 0, nullptr};
  record->abbreviation->description = "Editor";
  s.run(*record);
  EXPECT_EQ(s.text(), "run |");
  EXPECT_EQ(s.launcher.launched, std::vector<std::string>{"Editor"});
}

TEST(KeysimReplace, PlaysThePopSoundWhenAsked) {
  KeysimScene quiet;
  quiet.expand("btw", "by the way");
  EXPECT_EQ(quiet.desktop.pops_played(), 0);

  KeysimScene loud;
  loud.set_prefs([](OutputPrefs& p) { p.play_sound = true; });
  loud.expand("btw", "by the way");
  EXPECT_EQ(loud.desktop.pops_played(), 1);
}

// The user brings another window to the front when the output has reached the given
// injected key for the `nth` time (on its release: the key-down has reached the first window).
void switch_window_at(KeysimScene& s, WindowId other, uint16_t key, int nth) {
  auto seen = std::make_shared<int>(0);
  s.hook.also = [&s, other, key, nth, seen](const KeyEvent& e) {
    if (e.injected && e.up() && e.vk == key && ++*seen == nth) s.desktop.focus(other);
  };
}

TEST(KeysimReplace, AWindowChangeWhileErasingStopsTheReplacement) {
  KeysimScene s;
  WindowId other = s.desktop.add_window("Edit", sim::us_layout(), "other");
  auto record = s.typed("btw", "by the way");
  switch_window_at(s, other, vk::Back, 1);
  s.run(*record);
  EXPECT_EQ(s.text(), "bt|");
  EXPECT_EQ(s.desktop.text_with_caret(other), "other|");
  EXPECT_EQ(s.count_injected("inject down Back"), 1);
  EXPECT_EQ(s.hook.posts.back(), MonMessage::EnableHook);
}

TEST(KeysimReplace, GoingOnAfterAWindowChangeWhileErasingActsOnTheNewWindow) {
  KeysimScene s;
  s.set_prefs([](OutputPrefs& p) { p.cont_window_changed = true; });
  WindowId other = s.desktop.add_window("Edit", sim::us_layout(), "other");
  auto record = s.typed("btw", "by the way");
  switch_window_at(s, other, vk::Back, 1);
  s.run(*record);
  EXPECT_EQ(s.text(), "bt|");
  EXPECT_EQ(s.desktop.text_with_caret(other), "othby the way|");
}

TEST(KeysimReplace, AWindowChangeWhileTypingStopsAtThatCharacterUnlessToldToGoOn) {
  KeysimScene stop;
  WindowId other = stop.desktop.add_window("Edit", sim::us_layout(), "");
  auto record = stop.typed("btw", "by the way");
  switch_window_at(stop, other, 'Y', 1);
  stop.run(*record);
  EXPECT_EQ(stop.text(), "by|");
  EXPECT_EQ(stop.desktop.text(other), "");

  KeysimScene go_on;
  go_on.set_prefs([](OutputPrefs& p) { p.cont_window_changed = true; });
  WindowId second = go_on.desktop.add_window("Edit", sim::us_layout(), "");
  auto again = go_on.typed("btw", "by the way");
  switch_window_at(go_on, second, 'Y', 1);
  go_on.run(*again);
  EXPECT_EQ(go_on.text(), "by|");
  EXPECT_EQ(go_on.desktop.text(second), " the way");
}

TEST(KeysimReplace, ABackendThatCannotSwallowErasesTheDelimiterThatArrivedAnyway) {
  KeysimScene passive(sim::DesktopOptions{.can_swallow = false});
  // The space releasing the abbreviation could not be held back.
  auto record = passive.typed("btw ", "by the way", TRIGGER_WORD_ENDING);
  record->typed = "btw";
  record->delimiter_char = U' ';
  record->swallowed_key_typed_char = true;
  passive.run(*record);
  EXPECT_EQ(passive.text(), "by the way |");
  EXPECT_EQ(passive.count_injected("inject down Back"), 4);

  // Where the hook swallows, the same record erases only what was typed.
  KeysimScene active;
  auto swallowed = active.typed("btw", "by the way", TRIGGER_WORD_ENDING);
  swallowed->delimiter_char = U' ';
  swallowed->swallowed_key_typed_char = true;
  active.run(*swallowed);
  EXPECT_EQ(active.text(), "by the way |");
  EXPECT_EQ(active.count_injected("inject down Back"), 3);
}

TEST(KeysimText, PreviewAndOutputMethod) {
  OutputPrefs prefs;
  Abbreviation a;
  a.abbreviations = {"sig"};
  a.expansion() = "Kind regards%(cursor)";
  TextToType t = keysim_get_text_to_type(nullptr, a, "Sig", prefs, MacroEnvironment{});
  ASSERT_TRUE(t.text);
  EXPECT_EQ(*t.text, "Kind regards");
  EXPECT_TRUE(t.capitalize_first);
  EXPECT_EQ(t.output_method, OutputMethod::kKeySimulation);

  prefs.use_clipboard_more_than = true;
  prefs.clipboard_more_than_chars = 11;
  EXPECT_EQ(keysim_get_text_to_type(nullptr, a, "sig", prefs, {}).output_method,
            OutputMethod::kClipboard);
  prefs.clipboard_more_than_chars = 12;
  EXPECT_EQ(keysim_get_text_to_type(nullptr, a, "sig", prefs, {}).output_method,
            OutputMethod::kKeySimulation);
  EXPECT_EQ(repl_output_method(prefs, std::nullopt), OutputMethod::kKeySimulation);
  prefs.output_method = OutputMethod::kClipboard;
  EXPECT_EQ(repl_output_method(prefs, std::nullopt), OutputMethod::kClipboard);

  Abbreviation site;
  site.data = WebsiteInfo{"https://example.org", ""};
  EXPECT_FALSE(keysim_get_text_to_type(nullptr, site, "ex", prefs, {}).text);
}

TEST(KeysimPrefsTest, ReadsThePreferenceKeys) {
  Settings prefs;
  prefs.set("output_method", "1");
  prefs.set("use_clipboard_more_than", "1");
  prefs.set("clipboard_more_than_chars", "20");
  prefs.set("clipboard_restore", "1");
  prefs.set("play_sound", "1");
  prefs.set("cont_window_changed", "1");
  prefs.set("textexpander_mode", "1");
  prefs.set("default_trigger_mode", "5");
  OutputPrefs p = OutputPrefs::from(prefs);
  EXPECT_EQ(p.output_method, OutputMethod::kClipboard);
  EXPECT_TRUE(p.use_clipboard_more_than);
  EXPECT_EQ(p.clipboard_more_than_chars, 20);
  EXPECT_TRUE(p.clipboard_restore && p.play_sound && p.cont_window_changed && p.textexpander_mode);
  EXPECT_EQ(p.default_trigger_mode, 5);

  Settings empty;
  OutputPrefs d = OutputPrefs::from(empty);
  EXPECT_EQ(d.output_method, OutputMethod::kKeySimulation);
  EXPECT_FALSE(d.clipboard_restore || d.play_sound || d.cont_window_changed);
  EXPECT_EQ(d.default_trigger_mode, 3);
}

}  // namespace
}  // namespace tolvan::testing
