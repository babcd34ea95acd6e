// Replacement output as the user meets it: key macros, the caret mark, interactive input,
// pasting through the clipboard with the user's clipboard given back, launchers handed
// over, and what a window change does.
#include "scenario.h"

#include "platform/vk_codes.h"
#include "support/tooltip_doubles.h"

namespace tolvan::testing {
namespace {

SCENARIO_SUITE_IN_BOTH_MODES(KeyMacros);
SCENARIO_SUITE_IN_BOTH_MODES(CursorMark);
SCENARIO_SUITE_IN_BOTH_MODES(InteractiveInput);
SCENARIO_SUITE_IN_BOTH_MODES(Clipboard);
SCENARIO_SUITE_IN_BOTH_MODES(MenuInsertion);
SCENARIO_SUITE_IN_BOTH_MODES(EnableSwitch);
SCENARIO_SUITE_IN_BOTH_MODES(Tooltip);

TEST_P(KeyMacros, KeysArePressedWhereTheyStand) {
  s.add({"sw"}, "ab%(Key Left)X%(Key End)!");
  s.add({"up"}, "%(KeyDown Shift)loud%(KeyUp Shift) quiet");
  s.add({"tb"}, "a%(Key Tab 2)b");
  EXPECT_EQ(s.type("sw", true), "aXb!|");
  EXPECT_EQ(s.type(" up tb", true), "aXb! LOUD quiet a\t\tb|");
}

TEST_P(KeyMacros, ADelayLetsTimePassWithoutTyping) {
  s.add({"dl"}, "a%(Delay 1500)b");
  s.start();
  const uint64_t before = s.desktop().clock().total_slept_ms();
  EXPECT_EQ(s.type("dl"), "ab");
  EXPECT_GE(s.desktop().clock().total_slept_ms() - before, 1500u);
}

TEST_P(CursorMark, TheCaretGoesBackToTheMark) {
  s.add({"tag"}, "<b>%(cursor)</b>");
  EXPECT_EQ(s.type("tag", true), "<b>|</b>");
  EXPECT_EQ(s.type("bold", true), "<b>bold|</b>");
}

TEST_P(CursorMark, BeforeAndAfterAnInputTheCaretLandsRight) {
  s.add({"cb"}, "[%(cursor)] %(Input who)!");
  s.add({"ca"}, "%(Input who) [%(cursor)]");
  EXPECT_EQ(s.type("cbAl{Tab}", true), "[|] Al!");
  s.desktop().set_text(s.simulation->window(), "");
  EXPECT_EQ(s.type("caAl{Tab}", true), "Al [|]");
}

TEST_P(InteractiveInput, TabGoesOnWithTheRestOfTheExpansion) {
  s.add({"dr"}, "Dear %(Input name),%(Key Enter)Thanks");
  EXPECT_EQ(s.type("dr"), "Dear name");
  EXPECT_EQ(s.desktop().text_with_selection(s.simulation->window()), "Dear |name^") << "caret at the start, selection to its end";
  EXPECT_EQ(s.type("Bob{Tab}", true), "Dear Bob,\nThanks|");
}

TEST_P(InteractiveInput, EscapeAbandonsTheRest) {
  s.add({"dr"}, "Dear %(Input name),%(Key Enter)Thanks");
  EXPECT_EQ(s.type("drBob{Esc}", true), "Dear Bob|");
  EXPECT_EQ(s.type(" ok"), "Dear Bob ok") << "Tolvan watches keys again";
}

TEST_P(InteractiveInput, RightKeepsTheDefault) {
  s.add({"dr"}, "Dear %(Input name),");
  EXPECT_EQ(s.type("dr{Right}{Tab}", true), "Dear name,|");
}

TEST_P(InteractiveInput, LeavingTheWindowAbandonsItUnlessTheUserWantsOtherwise) {
  s.prefs.set_int("cont_window_changed", 0);
  s.add({"dr"}, "Dear %(Input name),");
  s.start();
  EXPECT_EQ(s.type("drBo"), "Dear Bo");
  s.desktop().focus(s.simulation->other_window());
  ASSERT_TRUE(s.simulation->settle(false)) << "the input is over";
  EXPECT_EQ(s.desktop().text(s.simulation->window()), "Dear Bo");
  EXPECT_EQ(s.type("x"), "x") << "typed in the other window";
}

TEST_P(Clipboard, PastesAndGivesTheUserTheirImageBack) {
  s.prefs.set_int("output_method", 1);
  s.prefs.set_int("clipboard_restore", 1);
  s.add({"sig"}, "Kind regards,\nAnna");
  s.start();
  const std::vector<std::pair<ClipboardFormat, std::string>> image = {
      {kFormatDib, std::string("BM\0\x01\x02\x03", 6)}};
  s.desktop().clipboard().set_contents(image);
  EXPECT_EQ(s.type("sig"), "Kind regards,\nAnna");
  EXPECT_EQ(s.desktop().clipboard().contents(), image);
}

TEST_P(Clipboard, LongTextsArePastedAboveTheThreshold) {
  s.prefs.set_int("use_clipboard_more_than", 1);
  s.prefs.set_int("clipboard_more_than_chars", 10);
  s.prefs.set_int("clipboard_restore", 1);
  s.add({"short"}, "typed");
  s.add({"long"}, "this one is pasted");
  s.start();
  s.desktop().clipboard().set_contents_text("mine");
  EXPECT_EQ(s.type("short long"), "typed this one is pasted");
  int pastes = 0;
  for (const auto& e : s.desktop().log().injected())
    if (e.key.vk == vk::KeyV && e.key.down()) ++pastes;
  EXPECT_EQ(pastes, 1);
  EXPECT_EQ(s.desktop().clipboard().text(), "mine");
}

TEST_P(Clipboard, AClipboardLockedForAWhileIsWaitedFor) {
  s.prefs.set_int("output_method", 1);
  s.add({"sig"}, "pasted");
  s.start();
  s.desktop().clipboard().lock_by_other_program(s.desktop().clock().now_ms() + 200);
  EXPECT_EQ(s.type("sig"), "pasted");
}

TEST_P(Clipboard, AClipboardThatStaysLockedGetsTheTextTypedAndGivesTheKeyboardBack) {
  s.prefs.set_int("output_method", 1);
  s.add({"sig"}, "pasted");
  s.start();
  s.desktop().clipboard().lock_by_other_program();
  EXPECT_EQ(s.type("sig"), "pasted") << "typed instead, never lost";
  EXPECT_FALSE(s.desktop().clipboard().text().has_value()) << "still locked";
  s.desktop().clipboard().unlock();
  EXPECT_EQ(s.type(" sig"), "pasted pasted") << "the next one pastes";
}

// Whether every paste in the log was pressed with Shift held (the terminal chord); false
// when nothing was pasted.
bool every_paste_had_shift(const sim::EventLog& log) {
  bool shift = false, pasted = false;
  for (const auto& e : log.injected()) {
    if (vk::is_shift(e.key.vk)) shift = e.key.down();
    if (e.key.vk == vk::KeyV && e.key.down()) {
      if (!shift) return false;
      pasted = true;
    }
  }
  return pasted;
}

TEST_P(Clipboard, ATerminalGetsShiftCtrlVAndTheUserTheirTextBackOnceItFetched) {
  for (const bool listed : {true, false}) {
    Scenario s(swallowing());
    s.prefs.set_int("output_method", 1);
    s.prefs.set_int("clipboard_restore", 1);
    if (!listed) s.prefs.set("terminal_classes", "Konsole;Alacritty");
    s.add({"sig"}, "pasted");
    s.start();
    const WindowId terminal = s.desktop().add_window("kitty");
    s.desktop().focus(terminal);
    s.desktop().set_paste_delay(terminal, 80);
    s.desktop().clipboard().set_contents_text("mine");
    s.type("sig");
    EXPECT_EQ(s.desktop().text(terminal), "pasted") << listed;
    EXPECT_EQ(every_paste_had_shift(s.desktop().log()), listed);
    EXPECT_EQ(s.desktop().clipboard().text(), "mine") << listed;
  }
}

TEST_P(Clipboard, XtermPastesThePrimarySelectionOnShiftInsertAndGetsBothBack) {
  Scenario s(swallowing());
  s.prefs.set_int("output_method", 1);
  s.prefs.set_int("clipboard_restore", 1);
  s.add({"sig"}, "pasted");
  s.start();
  const WindowId xterm = s.desktop().add_window("XTerm");
  s.desktop().focus(xterm);
  s.desktop().clipboard().set_contents_text("copied");
  s.desktop().primary().set_contents_text("selected");
  s.type("sig");
  EXPECT_EQ(s.desktop().text(xterm), "pasted");
  EXPECT_EQ(s.desktop().clipboard().text(), "copied");
  EXPECT_EQ(s.desktop().primary().text(), "selected");
}

TEST_P(MenuInsertion, InsertsWithoutErasing) {
  s.start();
  EXPECT_EQ(s.type("Hello "), "Hello ");
  auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, nullptr, {});
  a->abbreviations = {"w"};
  a->expansion() = "world";
  s.simulation->engine().insert_abbrev(std::move(a));
  EXPECT_EQ(s.type(""), "Hello world");
}

TEST_P(EnableSwitch, ADisabledEngineLetsEverythingThrough) {
  s.add({"btw"}, "by the way");
  s.start();
  ASSERT_TRUE(s.simulation->engine().uninstall_keyboard_hook());
  EXPECT_FALSE(s.simulation->engine().enabled());
  EXPECT_EQ(s.type("btw "), "btw ");
  ASSERT_TRUE(s.simulation->engine().install_keyboard_hook());
  EXPECT_EQ(s.type("btw"), "btw by the way");
}

TEST_P(Tooltip, AWaitingAbbreviationIsPreviewedAndTypingOnHidesIt) {
  s.prefs.set_int("show_tooltips", 1);
  s.prefs.set_int("show_tooltips_wec", 1);
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING, CASE_ADAPT);
  s.add({"now"}, "at once");  // immediate: never previewed
  RecordingTooltipView view;
  ManualTimers timers;
  s.options.tooltip_view = &view;
  s.options.tooltip_timers = &timers;
  s.start();
  EXPECT_EQ(s.type("now Btw"), "at once Btw");
  ASSERT_EQ(timers.pending.size(), 2u);
  timers.run(0);
  ASSERT_EQ(view.shown.size(), 1u);
  EXPECT_EQ(view.shown[0].text, "By the way");
  EXPECT_EQ(s.type("x"), "at once Btwx");
  EXPECT_EQ(view.hides, 1) << "typing on hides it at once";
  timers.run(1);
  EXPECT_EQ(view.hides, 1) << "the old hide timer does nothing";
}

}  // namespace
}  // namespace tolvan::testing
