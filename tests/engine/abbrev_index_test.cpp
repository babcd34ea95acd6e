// The abbreviation index against the plain library walk: hand-picked cases where the two
// could part (case folding that changes byte lengths, what precedes the tail, the order of
// folders) and a differential run over many random libraries and random typing.
#include <gtest/gtest.h>

#include <random>

#include "engine/matching/abbrev_index.h"
#include "engine/matching/abbrev_walk.h"
#include "engine/hook/key_buffer.h"
#include "support/random_library.h"

namespace tolvan {
namespace {

using testing::add_abbrev;
using testing::add_folder;
using testing::add_top;
using testing::AbbrevModes;

// A key buffer holding `typed` after `size - typed.size()` zero bytes.
std::string buffer_with(std::string_view typed, size_t size = 32) {
  std::string b(size - typed.size(), '\0');
  b += typed;
  return b;
}

// Both ways of finding the winner, which must agree; the index's answer.
std::optional<AbbrevMatch> find(const FolderList& main, std::string_view buffer) {
  AbbrevIndex index;
  index.build(main);
  std::optional<AbbrevMatch> walked = mon_walk_find_best_match(main, buffer);
  std::optional<AbbrevMatch> indexed = index.find(buffer);
  EXPECT_EQ(walked, indexed) << "buffer tail: " << buffer.substr(buffer.size() > 12 ? buffer.size() - 12 : 0);
  return indexed;
}

const std::string* matched(const FolderList& main, std::string_view typed, size_t size = 32) {
  auto m = find(main, buffer_with(typed, size));
  return m ? m->string : nullptr;
}

constexpr AbbrevModes kIgnoreCase{CASE_INSENSITIVE};

TEST(AbbrevIndex, CaseFoldingComparesCharacterByCharacterOverTheStringsBytes) {
  FolderList main;
  Folder& top = add_top(main);
  const Abbreviation& eszett = add_abbrev(top, {"stra\xC3\x9F" "e"}, kIgnoreCase);  // straße
  const Abbreviation& dotted = add_abbrev(top, {"\xC4\xB0x"}, kIgnoreCase);        // İx
  const Abbreviation& kelvin = add_abbrev(top, {"\xE2\x84\xAAm"}, kIgnoreCase);   // K-sign m
  add_abbrev(top, {"\xC3\xA9t\xC3\xA9"}, kIgnoreCase);                              // été

  EXPECT_EQ(matched(main, "STRA\xE1\xBA\x9E" "E"), nullptr);  // ẞ is three bytes, ß two
  EXPECT_EQ(matched(main, "STRASSE"), nullptr);
  EXPECT_EQ(matched(main, "Stra\xC3\x9F" "E"), &eszett.abbreviations[0]);
  // İ lower-cases to i, but one byte cannot stand for two.
  EXPECT_EQ(matched(main, "ix"), nullptr);
  EXPECT_EQ(matched(main, "Iix"), nullptr);
  EXPECT_EQ(matched(main, "\xC4\xB0X"), &dotted.abbreviations[0]);
  EXPECT_EQ(matched(main, "km"), nullptr);
  EXPECT_EQ(matched(main, "\xE2\x84\xAAM"), &kelvin.abbreviations[0]);
  EXPECT_NE(matched(main, "\xC3\x89T\xC3\x89"), nullptr);  // ÉTÉ
  EXPECT_EQ(matched(main, "\xC3\x89T\xC3\xA9!"), nullptr);
}

TEST(AbbrevIndex, TheCaseOfTheTypedTextMattersOnlyWhereTheModeSaysSo) {
  FolderList main;
  Folder& top = add_top(main);
  const Abbreviation& exact = add_abbrev(top, {"Btw"}, {CASE_SENSITIVE});
  const Abbreviation& adapt = add_abbrev(top, {"lol"}, {CASE_ADAPT});
  const Abbreviation& odd = add_abbrev(top, {"qq"}, {7});  // out of range: exact
  EXPECT_EQ(matched(main, "Btw"), &exact.abbreviations[0]);
  EXPECT_EQ(matched(main, "BTW"), nullptr);
  EXPECT_EQ(matched(main, "LoL"), &adapt.abbreviations[0]);
  EXPECT_EQ(matched(main, "qq"), &odd.abbreviations[0]);
  EXPECT_EQ(matched(main, "QQ"), nullptr);
}

TEST(AbbrevIndex, LongestStringWinsAndTiesGoToWalkOrder) {
  FolderList main;
  Folder& top = add_top(main);
  Folder& first = add_folder(top, "first");
  Folder& second = add_folder(top, "second");
  const Abbreviation& btw = add_abbrev(second, {"btw"});
  const Abbreviation& abtw = add_abbrev(second, {"abtw"});
  const Abbreviation& abc1 = add_abbrev(first, {"abc"});
  add_abbrev(second, {"abc"});
  const Abbreviation& both = add_abbrev(top, {"xyz", "XYZ"}, kIgnoreCase);

  EXPECT_EQ(matched(main, "abtw"), &abtw.abbreviations[0]);
  EXPECT_EQ(matched(main, "xbtw"), &btw.abbreviations[0]);
  // The top folder's own abbreviations come before its subfolders'.
  EXPECT_EQ(matched(main, "xyz"), &both.abbreviations[0]);
  auto m = find(main, buffer_with("abc"));
  ASSERT_TRUE(m);
  EXPECT_EQ(m->abbreviation, &abc1);
  EXPECT_EQ(m->index, 0);
}

TEST(AbbrevIndex, ADisabledFolderHidesOnlyItsOwnAbbreviations) {
  FolderList main;
  Folder& top = add_top(main);
  Folder& off = add_folder(top, "off", true);
  add_abbrev(off, {"hid"});
  const Abbreviation& below = add_abbrev(add_folder(off, "on"), {"vis"});
  add_abbrev(top, {"unsup"}, {CASE_SENSITIVE, TRIGGER_IMMEDIATELY, 1, ABBR_TYPE_UNSUPPORTED});
  add_abbrev(top, {""});
  EXPECT_EQ(matched(main, "hid"), nullptr);
  EXPECT_EQ(matched(main, "vis"), &below.abbreviations[0]);
  EXPECT_EQ(matched(main, "unsup"), nullptr);
  EXPECT_EQ(matched(main, "x"), nullptr);
}

TEST(AbbrevIndex, AnywhereModeDecidesWhatMayComeBefore) {
  FolderList main;
  Folder& top = add_top(main);
  const Abbreviation& word = add_abbrev(top, {"btw"}, {CASE_SENSITIVE, 3, 0});
  const Abbreviation& fresh = add_abbrev(top, {"go"}, {CASE_SENSITIVE, 3, 2});
  const Abbreviation& any = add_abbrev(top, {"ing"}, {CASE_SENSITIVE, 3, 1});

  EXPECT_EQ(matched(main, "xbtw"), nullptr);
  EXPECT_EQ(matched(main, "\xC3\xA9" "btw"), nullptr);  // é is a letter too
  EXPECT_EQ(matched(main, "(btw"), &word.abbreviations[0]);
  EXPECT_EQ(matched(main, "btw"), &word.abbreviations[0]);  // nothing typed before
  EXPECT_EQ(matched(main, "go"), &fresh.abbreviations[0]);
  EXPECT_EQ(matched(main, " go"), nullptr);
  EXPECT_EQ(matched(main, "going"), &any.abbreviations[0]);
  // A string that fills the buffer has nothing in front of it; a longer one cannot match.
  EXPECT_EQ(matched(main, "go", 2), &fresh.abbreviations[0]);
  EXPECT_EQ(matched(main, "tw", 2), nullptr);
}

TEST(AbbrevIndex, TheFirstTopFolderWithACandidateWinsEvenWithAShorterOne) {
  FolderList main;
  Folder& first = add_top(main);
  Folder& second = add_top(main, "second");
  const Abbreviation& shorter = add_abbrev(first, {"tw"});
  const Abbreviation& longer = add_abbrev(second, {"btw"});
  const Abbreviation& only = add_abbrev(second, {"zz"});
  EXPECT_EQ(matched(main, "btw"), &shorter.abbreviations[0]);
  EXPECT_EQ(matched(main, "zz"), &only.abbreviations[0]);
  (void)longer;
}

TEST(AbbrevIndex, ExactStringsWithAZeroByteCompareLikeStrncmp) {
  FolderList main;
  Folder& top = add_top(main);
  const Abbreviation& z = add_abbrev(top, {std::string("\0q", 2)});
  // The comparison stops at the shared zero byte, so any byte may follow it.
  EXPECT_EQ(matched(main, std::string("\0x", 2)), &z.abbreviations[0]);
  EXPECT_EQ(matched(main, "ax"), nullptr);
}

TEST(AbbrevIndex, AgreesWithTheWalkOnRandomLibrariesAndTyping) {
  std::mt19937 rng(20261206);
  auto next = [&](size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(rng); };
  size_t compared = 0, found = 0;
  for (int round = 0; round < 400; ++round) {
    FolderList main = testing::random_library(next, 30);
    AbbrevIndex index;
    index.build(main);
    KeyBuffer buffer;
    buffer.adjust_size(main);
    testing::random_typing(next, buffer, 120, [&] {
      std::optional<AbbrevMatch> walked = mon_walk_find_best_match(main, buffer.bytes());
      std::optional<AbbrevMatch> indexed = index.find(buffer.bytes());
      ASSERT_EQ(walked, indexed) << "round " << round;
      ++compared;
      found += walked.has_value();
    });
    if (::testing::Test::HasFatalFailure()) return;
  }
  // The run is only worth something if matches were common.
  EXPECT_GT(found, compared / 10);
}

}  // namespace
}  // namespace tolvan
