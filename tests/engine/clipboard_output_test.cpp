// Replacements pasted through the clipboard: one paste per gathered run, the user's
// clipboard backed up format by format and put back, and a clipboard another program keeps
// locked.
#include "platform/sim/sim_clipboard.h"

#include "output_test_support.h"

namespace tolvan::testing {
namespace {

using Contents = std::vector<std::pair<ClipboardFormat, std::string>>;

struct PasteScene : KeysimScene {
  explicit PasteScene(bool restore = true) {
    set_prefs([restore](OutputPrefs& p) {
      p.output_method = OutputMethod::kClipboard;
      p.clipboard_restore = restore;
    });
    // What the clipboard held when each paste reached the application.
    hook.also = [this](const KeyEvent& e) {
      if (e.injected && e.down() && e.vk == vk::KeyV) pasted.push_back(desktop.clipboard().contents());
    };
  }
  std::vector<Contents> pasted;
};

TEST(KeysimClipboard, PastesTheWholeTextOnceAndPutsTheUsersTextBack) {
  PasteScene s;
  s.desktop.clipboard().set_contents_text("mine");
  uint64_t before = s.desktop.clock().total_slept_ms();
  s.expand("addr", "Line one\nLine two");
  EXPECT_EQ(s.text(), "Line one\nLine two|");
  ASSERT_EQ(s.pasted.size(), 1u);
  // A newline goes to the clipboard as carriage return and newline.
  EXPECT_EQ(s.pasted[0], (Contents{{kFormatUnicodeText, sim::SimClipboard::encode_unicode_text("Line one\r\nLine two")}}));
  EXPECT_EQ(s.desktop.clipboard().text(), "mine");
  // 25 ms before the paste; the application read it at once and then asked nothing more
  // for 16 ms.
  EXPECT_EQ(s.desktop.clock().total_slept_ms() - before, 25u + 16u);
  // No Caps Lock care for pasted text.
  EXPECT_EQ(s.hook.posts, (std::vector<MonMessage>{MonMessage::ClearKeyBuffer, MonMessage::RestoreModifiers,
                                                   MonMessage::EnableHook}));
}

TEST(KeysimClipboard, OnAnXClipboardLinesEndWithLineFeedsAlone) {
  PasteScene s;
  s.desktop.clipboard().set_lines_end_with_crlf(false);
  s.expand("addr", "Line one\nLine two\n");
  ASSERT_EQ(s.pasted.size(), 1u);
  EXPECT_EQ(s.pasted[0], (Contents{{kFormatUnicodeText, sim::SimClipboard::encode_unicode_text("Line one\nLine two\n")}}));
}

TEST(KeysimClipboard, AnImageAndItsOtherFormatsAreOnTheClipboardAgainAfterwards) {
  PasteScene s;
  sim::SimClipboard& clipboard = s.desktop.clipboard();
  ClipboardFormat png = clipboard.register_format("PNG");
  Contents image = {{kFormatBitmap, std::string("BM\0\x01\x02pixels", 11)},
                    {kFormatDib, std::string("\x28\0\0\0dib", 7)},
                    {png, "\x89PNG data"}};
  clipboard.set_contents(image);
  s.expand("sig", "Kind regards");
  EXPECT_EQ(s.text(), "Kind regards|");
  EXPECT_EQ(clipboard.contents(), image);
}

TEST(KeysimClipboard, AFormatThatCannotBeReadIsLeftOutAndTheRestRestored) {
  PasteScene s;
  sim::SimClipboard& clipboard = s.desktop.clipboard();
  ClipboardFormat odd = clipboard.register_format("Lazy Format");
  clipboard.set_contents({{kFormatUnicodeText, sim::SimClipboard::encode_unicode_text("mine")}, {odd, "later"}});
  clipboard.make_unreadable(odd);
  s.expand("sig", "Kind regards");
  EXPECT_EQ(s.text(), "Kind regards|");
  EXPECT_EQ(clipboard.contents(), (Contents{{kFormatUnicodeText, sim::SimClipboard::encode_unicode_text("mine")}}));
}

TEST(KeysimClipboard, WithoutRestoreThePastedTextStays) {
  PasteScene s(false);
  s.desktop.clipboard().set_contents_text("mine");
  s.expand("sig", "Kind regards");
  EXPECT_EQ(s.text(), "Kind regards|");
  EXPECT_EQ(s.desktop.clipboard().text(), "Kind regards");
}

TEST(KeysimClipboard, ALockedClipboardGetsTheTextTypedAndKeepsTheUsersContents) {
  PasteScene s;
  s.desktop.clipboard().set_contents_text("mine");
  s.desktop.set_text(s.window, "so ");
  s.desktop.clipboard().lock_by_other_program();
  s.expand("sig", "Kind regards\nAnn");
  s.desktop.clipboard().unlock();
  EXPECT_EQ(s.text(), "so Kind regards\nAnn|");
  EXPECT_TRUE(s.pasted.empty());
  EXPECT_EQ(s.desktop.clipboard().text(), "mine");
  EXPECT_GT(s.desktop.clipboard().refused_opens(), 52);
}

TEST(KeysimClipboard, AClipboardLockedBrieflyIsWaitedFor) {
  PasteScene s;
  s.desktop.clipboard().set_contents_text("mine");
  s.desktop.clipboard().lock_by_other_program(s.desktop.clock().now_ms() + 200);
  s.expand("sig", "Kind regards");
  EXPECT_EQ(s.text(), "Kind regards|");
  EXPECT_EQ(s.desktop.clipboard().text(), "mine");
  EXPECT_GT(s.desktop.clipboard().refused_opens(), 0);
}

TEST(KeysimClipboard, ATypingTimeMacroPastesWhatWasGatheredBeforeIt) {
  PasteScene s;
  s.expand("tb", "ab%(Key Tab)cd%(Delay 5)");
  EXPECT_EQ(s.desktop.text(s.window), "ab\tcd");
  ASSERT_EQ(s.pasted.size(), 2u);
  EXPECT_EQ(s.pasted[0][0].second, sim::SimClipboard::encode_unicode_text("ab"));
  EXPECT_EQ(s.pasted[1][0].second, sim::SimClipboard::encode_unicode_text("cd"));
}

TEST(KeysimClipboard, CapitalisesTheFirstCharacterOfThePaste) {
  PasteScene s;
  s.expand("Btw", "by the way");
  EXPECT_EQ(s.text(), "By the way|");
}

TEST(KeysimClipboard, LongTextsArePastedWhenAskedAndTheDelimiterDoesNotCount) {
  auto scene = [](int threshold) {
    auto s = std::make_unique<PasteScene>();
    s->set_prefs([threshold](OutputPrefs& p) {
      p.output_method = OutputMethod::kKeySimulation;
      p.use_clipboard_more_than = true;
      p.clipboard_more_than_chars = threshold;
    });
    auto record = s->typed("btw", "by the way", TRIGGER_WORD_ENDING);  // 10 bytes
    record->delimiter_char = U'.';
    s->run(*record);
    EXPECT_EQ(s->text(), "by the way.|");
    return s->pasted.size();
  };
  EXPECT_EQ(scene(9), 1u);
  EXPECT_EQ(scene(10), 0u);
}

// --- how long the pasted text stays on the clipboard ---

TEST(KeysimClipboard, TheUsersClipboardReturnsRightAfterABusyApplicationFetchedThePaste) {
  PasteScene s;
  s.desktop.clipboard().set_contents_text("mine");
  s.desktop.set_paste_delay(s.window, 120);
  const uint64_t before = s.desktop.clock().total_slept_ms();
  s.expand("sig", "Kind regards");
  EXPECT_EQ(s.text(), "Kind regards|");
  EXPECT_EQ(s.desktop.clipboard().text(), "mine");
  const uint64_t waited = s.desktop.clock().total_slept_ms() - before;
  // 25 ms before the paste, then polls a few milliseconds apart until the fetch, and the
  // quiet after it.
  EXPECT_GE(waited, 25u + 120u + 16u);
  EXPECT_LE(waited, 25u + 120u + 16u + 10u);
}

TEST(KeysimClipboard, AnApplicationThatFetchesTwiceGetsTheExpansionBothTimes) {
  // It looks at the text at once and pastes what a second fetch 40 ms later brings: had the
  // user's clipboard come back after the first, the user's text would be pasted.
  PasteScene s;
  s.desktop.clipboard().set_contents_text("my password");
  s.desktop.set_paste_delay(s.window, 40);
  s.desktop.set_fetches_twice(s.window, true);
  s.expand("sig", "Kind regards");
  EXPECT_EQ(s.text(), "Kind regards|");
  EXPECT_EQ(s.desktop.clipboard().text(), "my password");
}

TEST(KeysimClipboard, AnApplicationThatNeverFetchesGetsTheWholeWaitThenTheTextTyped) {
  PasteScene s;
  s.desktop.clipboard().set_contents_text("mine");
  s.desktop.set_paste_delay(s.window, 60'000);
  const uint64_t before = s.desktop.clock().total_slept_ms();
  s.expand("sig", "Kind regards");
  EXPECT_GE(s.desktop.clock().total_slept_ms() - before, 725u);
  EXPECT_EQ(s.desktop.clipboard().text(), "mine");
  EXPECT_EQ(s.text(), "Kind regards|") << "not pasted, so typed";
}

TEST(KeysimClipboard, AClipboardThatCannotTellWhoFetchedKeepsTheFixedWait) {
  PasteScene s;
  s.desktop.clipboard().set_contents_text("mine");
  s.desktop.clipboard().set_reports_requests(false);
  const uint64_t before = s.desktop.clock().total_slept_ms();
  s.expand("sig", "Kind regards");
  EXPECT_EQ(s.text(), "Kind regards|");
  EXPECT_EQ(s.desktop.clock().total_slept_ms() - before, 725u);
  EXPECT_EQ(s.desktop.clipboard().text(), "mine");
}

TEST(KeysimClipboard, EachPasteOfARunWaitsForItsOwnFetch) {
  PasteScene s;
  s.desktop.set_paste_delay(s.window, 50);
  s.expand("tb", "ab%(Key Tab)cd");
  // The first fetch must not end the wait for the second paste.
  EXPECT_EQ(s.desktop.text(s.window), "ab\tcd");
}

// --- the paste chord ---

struct ChordScene : PasteScene {
  explicit ChordScene(const std::string& class_name) {
    window = desktop.add_window(class_name);
    desktop.focus(window);
  }
  // The injected keys of the paste: V (or Insert) with the modifier presses right before
  // it and the releases right after it.
  std::vector<std::string> chord() const {
    const std::vector<std::string> lines = injected();
    auto v = std::find_if(lines.begin(), lines.end(),
                          [](const std::string& line) { return line == "inject down V" || line == "inject down Insert"; });
    if (v == lines.end()) return {};
    auto is_modifier = [](const std::string& line, const char* dir) {
      const std::string prefix = std::string("inject ") + dir;
      return line == prefix + sim::vk_name(vk::LShift) || line == prefix + sim::vk_name(vk::LControl);
    };
    auto first = v;
    while (first != lines.begin() && is_modifier(*(first - 1), "down ")) --first;
    auto last = v + 1;
    if (last != lines.end() && (*last == "inject up V" || *last == "inject up Insert")) ++last;
    while (last != lines.end() && is_modifier(*last, "up ")) ++last;
    return std::vector<std::string>(first, last);
  }
};

TEST(KeysimClipboard, TerminalsPasteWithShiftCtrlVOtherWindowsWithCtrlV) {
  // The desktop reports the left keys for the generic ones Tolvan sends.
  const std::string shift = sim::vk_name(vk::LShift), ctrl = sim::vk_name(vk::LControl);
  const std::vector<std::string> plain = {"inject down " + ctrl, "inject down V", "inject up V", "inject up " + ctrl};
  const std::vector<std::string> terminal = {"inject down " + shift, "inject down " + ctrl, "inject down V",
                                             "inject up V", "inject up " + ctrl, "inject up " + shift};
  const std::vector<std::string> primary = {"inject down " + shift, "inject down Insert", "inject up Insert",
                                            "inject up " + shift};
  for (const char* name : {"Gnome-terminal", "kitty", "konsole"}) {
    ChordScene s(name);
    s.expand("sig", "Kind regards");
    EXPECT_EQ(s.chord(), terminal) << name;
    EXPECT_EQ(s.text(), "Kind regards|") << name;
  }
  // xterm binds no Ctrl key to pasting by default; every X terminal pastes PRIMARY on
  // Shift+Insert.
  for (const char* name : {"XTerm", "xterm", "URxvt"}) {
    ChordScene s(name);
    s.expand("sig", "Kind regards");
    EXPECT_EQ(s.chord(), primary) << name;
    EXPECT_EQ(s.text(), "Kind regards|") << name;
  }
  for (const char* name : {"Gedit", "XTermish", "", "Edit"}) {
    ChordScene s(name);
    s.expand("sig", "Kind regards");
    EXPECT_EQ(s.chord(), plain) << name;
    EXPECT_EQ(s.text(), "Kind regards|") << name;
  }
}

TEST(KeysimClipboard, TheTerminalListIsTheUsersChoice) {
  ChordScene mine("MyTerm");
  mine.set_prefs([](OutputPrefs& p) { p.terminal_classes = "Foo; myterm ;Bar"; });
  mine.expand("sig", "Kind regards");
  ASSERT_FALSE(mine.chord().empty());
  EXPECT_EQ(mine.chord().front(), "inject down " + sim::vk_name(vk::LShift));

  ChordScene xterm("XTerm");
  xterm.set_prefs([](OutputPrefs& p) {
    p.terminal_classes = "";
    p.primary_paste_classes = "";
  });
  xterm.expand("sig", "Kind regards");
  ASSERT_FALSE(xterm.chord().empty());
  EXPECT_EQ(xterm.chord().front(), "inject down " + sim::vk_name(vk::LControl));

  ChordScene primary("MyTerm");
  primary.set_prefs([](OutputPrefs& p) { p.primary_paste_classes = "myterm"; });
  primary.expand("sig", "Kind regards");
  EXPECT_EQ(primary.text(), "Kind regards|");
  EXPECT_NE(std::find(primary.chord().begin(), primary.chord().end(), "inject down Insert"), primary.chord().end());
}

TEST(KeysimClipboard, LinesAreTypedIntoAWindowThatAsksBeforePastingThem) {
  ChordScene urxvt("URxvt");
  urxvt.desktop.clipboard().set_contents_text("copied");
  urxvt.expand("qqa", "Line one\nLine two");
  EXPECT_EQ(urxvt.text(), "Line one\nLine two|");
  EXPECT_TRUE(urxvt.chord().empty()) << "no paste";
  EXPECT_EQ(urxvt.desktop.clipboard().text(), "copied");

  ChordScene one_line("URxvt");
  one_line.expand("sig", "Kind regards");
  EXPECT_FALSE(one_line.chord().empty()) << "a single line is pasted";
  ChordScene xterm("XTerm");
  xterm.expand("qqa", "Line one\nLine two");
  EXPECT_FALSE(xterm.chord().empty()) << "other terminals get lines pasted";
}

TEST(KeysimClipboard, APrimaryPasteLeavesBothSelectionsAsTheUserHadThem) {
  ChordScene s("XTerm");
  s.desktop.clipboard().set_contents_text("copied");
  s.desktop.primary().set_contents_text("selected");
  s.desktop.set_paste_delay(s.window, 30);
  s.desktop.set_fetches_twice(s.window, true);
  s.expand("sig", "Kind regards");
  EXPECT_EQ(s.text(), "Kind regards|");
  EXPECT_EQ(s.desktop.clipboard().text(), "copied");
  EXPECT_EQ(s.desktop.primary().text(), "selected");
}

TEST(KeysimClipboard, TerminalClassesAreComparedWholeAndWithoutCase) {
  EXPECT_TRUE(window_class_listed("a;XTerm;b", "xterm"));
  EXPECT_TRUE(window_class_listed("XTerm", "XTERM"));
  EXPECT_FALSE(window_class_listed("XTerm", "XTer"));
  EXPECT_FALSE(window_class_listed("XTerm", "XTerm2"));
  EXPECT_FALSE(window_class_listed(";;", ""));
  EXPECT_FALSE(window_class_listed("", "XTerm"));
}

TEST(KeysimClipboard, CapitalizeFirstHelper) {
  EXPECT_EQ(keysim_capitalize_first("élan"), "Élan");
  EXPECT_EQ(keysim_capitalize_first("1st"), "1st");
  EXPECT_EQ(keysim_capitalize_first(""), "");
  EXPECT_EQ(keysim_capitalize_first("\xff" "abc"), "\xff" "abc");
}

}  // namespace
}  // namespace tolvan::testing
