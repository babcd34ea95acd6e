// Replacements pasted through the clipboard: one paste per gathered run, the user's
// clipboard backed up format by format and put back, and a clipboard another program keeps
// locked.
#include "platform/sim/sim_clipboard.h"

#include "keysim_test_support.h"

namespace tolvan::testing {
namespace {

using Contents = std::vector<std::pair<ClipboardFormat, std::string>>;

struct PasteScene : KeysimScene {
  explicit PasteScene(bool restore = true) {
    set_prefs([restore](KeysimPrefs& p) {
      p.output_method = 1;
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
  // 25 ms before the paste, 700 ms for the application to read it.
  EXPECT_EQ(s.desktop.clock().total_slept_ms() - before, 725u);
  // No Caps Lock care for pasted text.
  EXPECT_EQ(s.hook.posts, (std::vector<MonMessage>{MonMessage::ClearKeyBuffer, MonMessage::RestoreModifiers,
                                                   MonMessage::EnableHook}));
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

TEST(KeysimClipboard, ALockedClipboardLosesTheTextButNotTheUsersContents) {
  PasteScene s;
  s.desktop.clipboard().set_contents_text("mine");
  s.desktop.set_text(s.window, "so ");
  s.desktop.clipboard().lock_by_other_program();
  s.expand("sig", "Kind regards");
  s.desktop.clipboard().unlock();
  EXPECT_EQ(s.text(), "so |");
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
    s->set_prefs([threshold](KeysimPrefs& p) {
      p.output_method = 0;
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

TEST(KeysimClipboard, CapitalizeFirstHelper) {
  EXPECT_EQ(keysim_capitalize_first("élan"), "Élan");
  EXPECT_EQ(keysim_capitalize_first("1st"), "1st");
  EXPECT_EQ(keysim_capitalize_first(""), "");
  EXPECT_EQ(keysim_capitalize_first("\xff" "abc"), "\xff" "abc");
}

}  // namespace
}  // namespace tolvan::testing
