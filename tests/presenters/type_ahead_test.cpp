// The list's type-ahead: keys and their times in, searches out; and the rows it finds.
#include "presenters/library_window/type_ahead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvan {
namespace {

struct Typing {
  TypeAhead type_ahead;
  int64_t now = 10'000;
  std::optional<TypeAheadSearch> key(uint32_t keyval, int64_t after_ms = 100, bool ctrl = false) {
    now += after_ms;
    return type_ahead.key_pressed(keyval, ctrl, now);
  }
};

const std::vector<std::string> kRows{"banana", "Apple", "apricot", "Avocado", "cherry", "Äpfel"};

std::optional<size_t> find(const TypeAheadSearch& s, std::optional<size_t> selected) {
  return type_ahead_find(s, kRows.size(), selected, [](size_t i) { return kRows[i]; });
}

TEST(TypeAhead, TheSameLetterQuicklyCyclesThroughTheRowsBeginningWithIt) {
  Typing t;
  std::optional<size_t> selected;
  auto s = t.key('a');
  EXPECT_EQ(*s, (TypeAheadSearch{"a", false}));
  selected = find(*s, selected);
  EXPECT_EQ(selected, 1u);
  s = t.key('a');
  EXPECT_EQ(*s, (TypeAheadSearch{"a", true}));
  selected = find(*s, selected);
  EXPECT_EQ(selected, 2u);
  selected = find(*t.key('a'), selected);
  EXPECT_EQ(selected, 3u);
  selected = find(*t.key('a'), selected);  // wraps around to the top
  EXPECT_EQ(selected, 1u);
}

TEST(TypeAhead, TwoDifferentLettersFindTheFirstRowBeginningWithBoth) {
  Typing t;
  t.key('a');
  auto s = t.key('p');
  EXPECT_EQ(*s, (TypeAheadSearch{"ap", false}));
  EXPECT_EQ(find(*s, std::nullopt), 1u);
  s = t.key('r');
  EXPECT_EQ(find(*s, 1u), 2u);
  EXPECT_EQ(find(*t.key('x'), 2u), std::nullopt);
}

TEST(TypeAhead, APauseOfASecondStartsANewSearch) {
  Typing t;
  t.key('c');
  t.key('h');
  auto s = t.key('b', 999);  // still within the second
  EXPECT_EQ(s->text, "chb");
  s = t.key('b', 1000);
  EXPECT_EQ(*s, (TypeAheadSearch{"b", false}));
  // After a pause the first letter typed again moves on, as a repeat does.
  s = t.key('b', 1500);
  EXPECT_EQ(*s, (TypeAheadSearch{"b", true}));
}

TEST(TypeAhead, ARepeatedLetterFollowedByAnotherSearchesForAllThatWasTyped) {
  Typing t;
  t.key('a');
  t.key('a');
  auto s = t.key('p');
  EXPECT_EQ(s->text, "aap");
}

TEST(TypeAhead, CtrlKeysAndKeysBeyondLatin1DoNotCount) {
  Typing t;
  EXPECT_FALSE(t.key('a', 100, true));
  EXPECT_FALSE(t.key(0xff51));  // an arrow key
  EXPECT_EQ(t.key('a')->text, "a");
}

TEST(TypeAhead, Latin1LettersAreMatchedWithoutCase) {
  Typing t;
  auto s = t.key(0xe4);  // ä
  EXPECT_EQ(s->text, "ä");
  EXPECT_EQ(find(*s, std::nullopt), 5u);
}

TEST(TypeAhead, AVeryLongRunOfKeysStartsOverInsteadOfGrowing) {
  Typing t;
  for (int i = 0; i < 501; ++i) t.key('x');
  EXPECT_EQ(t.key('y')->text, "y");
}

TEST(TypeAhead, AnEmptyListFindsNothing) {
  EXPECT_EQ(type_ahead_find({"a", false}, 0, std::nullopt, [](size_t) { return std::string(); }),
            std::nullopt);
}

}  // namespace
}  // namespace tolvan
