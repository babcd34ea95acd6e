// A user typing into the simulated desktop's applications: layouts, dead keys, AltGr, Caps
// Lock, editing keys, selection, clipboard paste, focus and the caret.
#include <gtest/gtest.h>

#include "platform/sim/desktop.h"
#include "platform/sim/user.h"
#include "platform/vk_codes.h"

namespace tolvan::sim {
namespace {

struct Scene {
  explicit Scene(const Layout& layout = us_layout(), const std::string& text = "") {
    window = desktop.add_window("Edit", layout, text);
    desktop.focus(window);
  }
  std::string text() const { return desktop.text(window); }
  std::string caret() const { return desktop.text_with_selection(window); }
  Desktop desktop;
  User user{desktop};
  WindowId window;
};

TEST(Typing, EachLayoutTypesWhatTheUserMeant) {
  for (const Layout* layout : {&us_layout(), &us_international_layout(), &german_layout()}) {
    Scene s(*layout);
    const std::string text = "btw Hello, World! (x+y)=z? 42";
    ASSERT_TRUE(s.user.type(text).ok()) << layout->name;
    EXPECT_EQ(s.text(), text) << layout->name;
  }
  Scene de(german_layout());
  ASSERT_TRUE(de.user.type("Grüße @ 5€ {ä} ^ é à ´").ok());
  EXPECT_EQ(de.text(), "Grüße @ 5€ {ä} ^ é à ´");
  Scene intl(us_international_layout());
  ASSERT_TRUE(intl.user.type("naïve café ñ 'quoted' \"x\" ~ ^ ` ¿").ok());
  EXPECT_EQ(intl.text(), "naïve café ñ 'quoted' \"x\" ~ ^ ` ¿");
}

TEST(Typing, ComposedCharacterIsTypedAsDeadKeyThenBase) {
  Scene s(us_international_layout());
  ASSERT_TRUE(s.user.type("é").ok());
  std::vector<std::string> lines;
  for (const auto& e : s.desktop.log().events()) lines.push_back(EventLog::format(e));
  EXPECT_EQ(lines, (std::vector<std::string>{"user down Oem7", "user up Oem7", "user down E", "user up E"}));
  // AltGr on German brings a left Ctrl along, as Windows makes it.
  Scene de(german_layout());
  ASSERT_TRUE(de.user.type("@").ok());
  lines.clear();
  for (const auto& e : de.desktop.log().events()) lines.push_back(EventLog::format(e));
  EXPECT_EQ(lines, (std::vector<std::string>{"user down LControl", "user down RMenu", "user down Q",
                                             "user up Q", "user up RMenu", "user up LControl"}));
  EXPECT_EQ(de.text(), "@");
}

TEST(Typing, UntypableCharacterIsRefusedWholeWithAClearMessage) {
  Scene s;
  Status status = s.user.type("ab€");
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error(), "The keyboard layout \"us\" has no key for \"€\".");
  EXPECT_EQ(s.text(), "");
  Status invalid = s.user.type("ok\xff");
  ASSERT_FALSE(invalid.ok());
  EXPECT_EQ(invalid.error(), "The text to type is not valid UTF-8.");
  EXPECT_EQ(s.text(), "");
  // Generic modifier codes press the left key, as a keyboard has no other.
  s.user.press(vk::Shift);
  EXPECT_TRUE(s.desktop.user_holds(vk::LShift));
  ASSERT_TRUE(s.user.type("a").ok());
  s.user.release(vk::Shift);
  EXPECT_EQ(s.text(), "A");
}

TEST(Typing, CapsLockTurnsLettersAroundAndTogglesPerPress) {
  Scene s;
  s.user.tap(vk::Capital);
  EXPECT_TRUE(s.desktop.caps_lock_on());
  EXPECT_TRUE(s.desktop.key_state(vk::Capital) & kKeyToggledBit);
  ASSERT_TRUE(s.user.type("Abc1!").ok());
  s.user.tap(vk::Capital);
  EXPECT_FALSE(s.desktop.caps_lock_on());
  ASSERT_TRUE(s.user.type("d").ok());
  EXPECT_EQ(s.text(), "aBC1!d");
}

TEST(Typing, EditingKeysActLikeAnOrdinaryTextField) {
  Scene s;
  ASSERT_TRUE(s.user.type("hello world").ok());
  s.user.tap(vk::Back);
  s.user.tap(vk::Home);
  s.user.tap(vk::Delete);
  s.user.tap(vk::End);
  s.user.tap(vk::Escape);
  ASSERT_TRUE(s.user.type("\tX\nnext").ok());
  EXPECT_EQ(s.text(), "ello worl\tX\nnext");
  s.user.tap(vk::Up);
  EXPECT_EQ(s.caret(), "ello|" " worl\tX\nnext");
  s.user.tap(vk::Down);
  s.user.tap(vk::Left);
  EXPECT_EQ(s.caret(), "ello worl\tX\nnex|t");
}

TEST(Typing, ShiftSelectionTypingOverAndArrowsCollapsing) {
  Scene s(us_layout(), "abcdef");
  s.user.press(vk::LShift);
  s.user.tap(vk::Left);
  s.user.tap(vk::Left);
  s.user.release(vk::LShift);
  EXPECT_EQ(s.caret(), "abcd|ef^");
  EXPECT_EQ(s.desktop.text_with_caret(s.window), "abcd|ef");
  s.desktop.with_field(s.window, [](TextField& f) { EXPECT_EQ(f.selected_text(), "ef"); });
  s.user.tap(vk::Right);  // collapses to the selection's end
  EXPECT_EQ(s.caret(), "abcdef|");
  s.user.press(vk::LShift);
  s.user.tap(vk::Home);
  s.user.release(vk::LShift);
  s.user.tap(vk::Left);  // collapses to the start
  EXPECT_EQ(s.caret(), "|abcdef");
  s.user.press(vk::LShift);
  s.user.tap(vk::Right);
  s.user.tap(vk::Right);
  s.user.release(vk::LShift);
  ASSERT_TRUE(s.user.type("X").ok());
  EXPECT_EQ(s.caret(), "X|cdef");
  s.user.press(vk::LShift);
  s.user.tap(vk::End);
  s.user.release(vk::LShift);
  s.user.tap(vk::Back);
  EXPECT_EQ(s.caret(), "X|");
}

TEST(Typing, CtrlVPastesClipboardTextUnlessAnotherProgramHoldsIt) {
  Scene s(us_layout(), "a");
  s.desktop.clipboard().set_contents_text("line1\r\nline2");
  s.user.press(vk::LControl);
  s.user.tap('V');
  s.user.release(vk::LControl);
  EXPECT_EQ(s.text(), "aline1\nline2");
  s.desktop.clipboard().lock_by_other_program();
  s.user.press(vk::LControl);
  s.user.tap('V');
  s.user.release(vk::LControl);
  EXPECT_EQ(s.text(), "aline1\nline2") << "a locked clipboard pastes nothing";
  s.desktop.clipboard().unlock();
  // Ctrl+A, Ctrl+X: the field's text goes to the clipboard.
  s.user.press(vk::LControl);
  s.user.tap('A');
  s.user.tap('X');
  s.user.release(vk::LControl);
  EXPECT_EQ(s.text(), "");
  EXPECT_EQ(s.desktop.clipboard().text(), "aline1\nline2");
}

TEST(Typing, AltCombinationsTypeNothing) {
  Scene s;
  s.user.press(vk::LMenu);
  s.user.tap('F');
  s.user.release(vk::LMenu);
  EXPECT_EQ(s.text(), "");
  auto events = s.desktop.log().events();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[1].key.message, KeyMessage::SysKeyDown);
}

TEST(Windows, FocusChangesWhereKeysGoAndEachWindowHasItsLayout) {
  Desktop desktop;
  User user(desktop);
  WindowId notes = desktop.add_window("Notepad", us_layout());
  WindowId mail = desktop.add_window("Mail", german_layout(), "Hallo ");
  desktop.focus(notes);
  ASSERT_TRUE(user.type("one").ok());
  desktop.focus(mail);
  EXPECT_EQ(desktop.foreground(), mail);
  EXPECT_EQ(desktop.class_name(mail), "Mail");
  EXPECT_EQ(desktop.layout_of(mail), german_layout().id);
  user.tap('Y');  // the key labelled Y on a German keyboard is VK_Y in its place
  ASSERT_TRUE(user.type("@").ok());
  EXPECT_EQ(desktop.text(notes), "one");
  EXPECT_EQ(desktop.text(mail), "Hallo y@");
  desktop.focus(0);
  ASSERT_TRUE(user.type("x").ok());
  EXPECT_EQ(desktop.log().events().back().fate, EventFate::NoWindow);
  EXPECT_TRUE(desktop.bring_to_front(notes));
  EXPECT_EQ(desktop.foreground(), notes);
  desktop.close_window(notes);
  EXPECT_EQ(desktop.foreground(), 0u);
  EXPECT_FALSE(desktop.bring_to_front(notes));
}

TEST(Windows, APendingDeadKeyBelongsToTheWindowItWasTypedIn) {
  Desktop desktop;
  User user(desktop);
  WindowId first = desktop.add_window("Edit", us_international_layout());
  WindowId second = desktop.add_window("Edit", us_international_layout());
  desktop.focus(first);
  user.tap(vk::Oem7);  // a dead '
  desktop.focus(second);
  user.tap('E');
  desktop.focus(first);
  user.tap('E');
  EXPECT_EQ(desktop.text(second), "e");
  EXPECT_EQ(desktop.text(first), "é");
}

TEST(Windows, CaretRectangleFollowsTheCaretOrIsUnreported) {
  Scene s(us_layout(), "ab\ncd");
  auto caret = s.desktop.caret();
  ASSERT_TRUE(caret.has_value());
  EXPECT_TRUE(caret->reported);
  EXPECT_EQ(caret->window, s.window);
  s.user.tap(vk::Left);
  auto moved = s.desktop.caret();
  EXPECT_EQ(moved->rect.left, caret->rect.left - 8);
  EXPECT_EQ(moved->rect.bottom, caret->rect.bottom);
  EXPECT_GT(moved->rect.bottom, moved->rect.top);
  s.user.tap(vk::Up);
  EXPECT_EQ(s.desktop.caret()->rect.bottom, caret->rect.bottom - 16);
  s.desktop.set_reports_caret(s.window, false);
  auto unknown = s.desktop.caret();
  EXPECT_FALSE(unknown->reported);
  EXPECT_EQ(unknown->rect.left, unknown->rect.right);
  s.desktop.focus(0);
  EXPECT_FALSE(s.desktop.caret().has_value());
}

TEST(VirtualTime, WaitsCostNothingButAreCounted) {
  Desktop desktop;
  Clock& clock = *desktop.platform().clock;
  uint64_t start = clock.now_ms();
  for (int i = 0; i < 100; ++i) clock.sleep_ms(700);
  User(desktop).wait(5);
  EXPECT_EQ(clock.now_ms() - start, 70005u);
  EXPECT_EQ(desktop.clock().total_slept_ms(), 70000u);
}

}  // namespace
}  // namespace tolvan::sim
