// The insertion pipeline: the clipboard macro, the caret mark and the four steps together.
#include <gtest/gtest.h>

#include <string>

#include "engine/macros/insertion.h"
#include "macro_test_support.h"

namespace tolvan {
namespace {

class InsertionMacros : public testing::MacroTest {
 protected:
  // A clipboard that counts how often it is read.
  MacroEnvironment with_clipboard(std::optional<std::string> contents) {
    MacroEnvironment env = clock_at(at(2025, 6, 7, 9, 30, 0));
    env.clipboard_text = [this, contents] {
      ++clipboard_reads;
      return contents;
    };
    return env;
  }
  int clipboard_reads = 0;
};

TEST_F(InsertionMacros, ClipboardTextReplacesEveryUnescapedMacroInAnyCase) {
  auto env = with_clipboard("pasted");
  EXPECT_EQ(clipboard_insertion_macro_execute("[%(clipboard)] [%(CLIPBOARD)]", env),
            "[pasted] [pasted]");
  EXPECT_EQ(clipboard_reads, 1);
}

TEST_F(InsertionMacros, ClipboardLineEndsBecomeNewlines) {
  auto env = with_clipboard("one\r\ntwo\rthree\n");
  EXPECT_EQ(clipboard_insertion_macro_execute("%(clipboard)", env), "one\ntwo\rthree\n");
}

TEST_F(InsertionMacros, EscapedClipboardMacroLosesOneEscape) {
  auto env = with_clipboard("X");
  EXPECT_EQ(clipboard_insertion_macro_execute("%(clipboard) %%(clipboard) %%%(clipboard)", env),
            "X %(clipboard) %%X");
}

TEST_F(InsertionMacros, ClipboardIsReadOnlyWhenAnUnescapedMacroIsThere) {
  auto env = with_clipboard("X");
  EXPECT_EQ(clipboard_insertion_macro_execute("plain text", env), "plain text");
  EXPECT_EQ(clipboard_insertion_macro_execute("%%(clipboard)", env), "%%(clipboard)");
  EXPECT_EQ(clipboard_reads, 0);
}

TEST_F(InsertionMacros, EmptyOrMissingClipboardGivesNothing) {
  EXPECT_EQ(clipboard_insertion_macro_execute("a%(clipboard)b", with_clipboard(std::nullopt)),
            "ab");
  MacroEnvironment no_clipboard;
  EXPECT_EQ(clipboard_insertion_macro_execute("a%(clipboard)b", no_clipboard), "ab");
}

TEST_F(InsertionMacros, CursorBackCountsCharactersAfterTheMark) {
  auto r = cursor_insertion_macro_execute("Hello %(cursor)world");
  EXPECT_EQ(r.text, "Hello world");
  EXPECT_EQ(r.cursor_back, 5);
  // Characters, not bytes.
  r = cursor_insertion_macro_execute("%(cursor)h\xC3\xA9llo \xE2\x82\xAC");
  EXPECT_EQ(r.cursor_back, 7);
}

TEST_F(InsertionMacros, WithoutAMarkCursorBackIsZero) {
  auto r = cursor_insertion_macro_execute("no mark here");
  EXPECT_EQ(r.text, "no mark here");
  EXPECT_EQ(r.cursor_back, 0);
}

TEST_F(InsertionMacros, TheLastExactlySpelledMarkWinsAndAllSpellingsAreRemoved) {
  auto r = cursor_insertion_macro_execute("a%(cursor)bc%(cursor)de");
  EXPECT_EQ(r.text, "abcde");
  EXPECT_EQ(r.cursor_back, 2);
  // Another spelling is removed but is not a mark.
  r = cursor_insertion_macro_execute("ab%(CURSOR)cd");
  EXPECT_EQ(r.text, "abcd");
  EXPECT_EQ(r.cursor_back, 0);
}

TEST_F(InsertionMacros, EscapedMarksAreTextAndDoNotCountTheirEscape) {
  auto r = cursor_insertion_macro_execute("a%(cursor)b%%(cursor)c");
  EXPECT_EQ(r.text, "ab%(cursor)c");
  EXPECT_EQ(r.cursor_back, 11);
  r = cursor_insertion_macro_execute("%%(cursor)x");
  EXPECT_EQ(r.text, "%(cursor)x");
  EXPECT_EQ(r.cursor_back, 0);
  // An escaped mark before the real one is not in the counted part.
  r = cursor_insertion_macro_execute("%%(cursor)a%(cursor)bc");
  EXPECT_EQ(r.text, "%(cursor)abc");
  EXPECT_EQ(r.cursor_back, 2);
}

TEST_F(InsertionMacros, PipelineRunsTextExpanderDatesClipboardAndCursorInOrder) {
  auto env = with_clipboard("%(Day)");
  auto r = insertion_macros_execute("%m/%d/%Y %(clipboard) %(AddDays 1)%(Day)%|!", env);
  // The clipboard step runs after the dates, so its text keeps its macro.
  EXPECT_EQ(r.text, "06/07/2025 %(Day) 08!");
  EXPECT_EQ(r.cursor_back, 1);
}

TEST_F(InsertionMacros, CursorBeforeAnInputFieldCountsTheFieldAsWritten) {
  auto r = insertion_macros_execute("Dear %(cursor), %(Input name)", with_clipboard(""));
  EXPECT_EQ(r.text, "Dear , %(Input name)");
  EXPECT_EQ(r.cursor_back, 15);
}

TEST_F(InsertionMacros, TypingTimeMacrosPassThroughUntouched) {
  auto r = insertion_macros_execute("%(Key Tab 3)%(Delay 250)%%(Key Enter)", with_clipboard(""));
  EXPECT_EQ(r.text, "%(Key Tab 3)%(Delay 250)%%(Key Enter)");
}

}  // namespace
}  // namespace tolvan
