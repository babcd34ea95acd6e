// Small libraries for matching tests: a builder for hand-made ones and a generator that
// makes random ones (and random typing) from any source of numbers, so that the GoogleTest
// differential test, the fuzz target and the benchmark all make them the same way.
#pragma once

#include <cstdint>
#include <random>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "library/model.h"

namespace tolvan::testing {

inline Folder& add_folder(Folder& parent, std::string name, bool disabled = false) {
  auto f = std::make_unique<Folder>();
  f->name = std::move(name);
  f->parent = &parent;
  f->disabled = disabled ? 1 : 0;
  parent.subfolders.push_back(std::move(f));
  return *parent.subfolders.back();
}

inline Folder& add_top(FolderList& list, std::string name = kAbsoluteParentName) {
  auto f = std::make_unique<Folder>();
  f->name = std::move(name);
  list.push_back(std::move(f));
  return *list.back();
}

// The modes and type of a generated abbreviation.
struct AbbrevModes {
  int case_mode = CASE_SENSITIVE;
  int trigger_mode = TRIGGER_IMMEDIATELY;
  uint8_t anywhere = 1;
  AbbrType type = ABBR_TYPE_TEXT;
};

// Appends (the abbreviation's index is then the folder's last).
inline Abbreviation& add_abbrev(Folder& folder, std::vector<std::string> strings,
                                AbbrevModes modes = {}) {
  auto a = std::make_unique<Abbreviation>();
  a->set_type(modes.type);
  a->abbreviations = std::move(strings);
  a->case_mode = modes.case_mode;
  a->trigger_mode = modes.trigger_mode;
  a->anywhere = modes.anywhere;
  a->folder = &folder;
  folder.abbreviations.push_back(std::move(a));
  return *folder.abbreviations.back();
}

// Pieces the random strings are made of: a few letters in both cases, letters whose
// lower-case form has another byte length (İ lower-cases to i, K-sign to k), ß and its
// capital, a digit, punctuation, a stray continuation byte and a zero byte.
inline const std::vector<std::string>& random_pieces() {
  static const std::vector<std::string> pieces = {
      "a", "A", "b", "B", "i", "I", "k", "K", "s", "S", "\xC3\xA9" /* é */,
      "\xC3\x89" /* É */, "\xC3\x9F" /* ß */, "\xE1\xBA\x9E" /* ẞ */, "\xC4\xB0" /* İ */,
      "\xE2\x84\xAA" /* K-sign */, "1", " ", "(", "\x80", std::string(1, '\0')};
  return pieces;
}

// Random choices from `next(bound)`, which answers a number below bound.
template <typename Next>
std::string random_string(Next& next, size_t max_pieces) {
  std::string s;
  size_t n = next(max_pieces + 1);
  const auto& pieces = random_pieces();
  for (size_t i = 0; i < n; ++i) s += pieces[next(pieces.size())];
  return s;
}

// A library of one or two top-level folders with nested and disabled folders, every case
// mode, Anywhere Modes 0, 1 and 2, unsupported abbreviations, empty and repeated strings.
template <typename Next>
FolderList random_library(Next& next, size_t max_abbrevs) {
  FolderList list;
  size_t tops = 1 + next(2);
  std::vector<Folder*> folders;
  for (size_t t = 0; t < tops; ++t) {
    Folder& top = add_top(list, t == 0 ? kAbsoluteParentName : "second");
    top.disabled = next(6) == 0;
    folders.push_back(&top);
  }
  size_t subfolders = next(5);
  for (size_t i = 0; i < subfolders; ++i) {
    Folder& parent = *folders[next(folders.size())];
    folders.push_back(&add_folder(parent, "f" + std::to_string(i), next(4) == 0));
  }
  size_t n = next(max_abbrevs + 1);
  std::vector<std::string> earlier;
  for (size_t i = 0; i < n; ++i) {
    AbbrevModes modes;
    modes.case_mode = static_cast<int>(next(4));  // 3: out of range, compared exactly
    modes.trigger_mode = static_cast<int>(3 + next(3));
    modes.anywhere = static_cast<uint8_t>(next(3));
    modes.type = next(8) == 0 ? ABBR_TYPE_UNSUPPORTED : ABBR_TYPE_TEXT;
    std::vector<std::string> strings;
    size_t count = 1 + next(2);
    for (size_t k = 0; k < count; ++k) {
      if (!earlier.empty() && next(4) == 0) {
        strings.push_back(earlier[next(earlier.size())]);
      } else {
        strings.push_back(random_string(next, 4));
      }
      earlier.push_back(strings.back());
    }
    add_abbrev(*folders[next(folders.size())], std::move(strings), modes);
  }
  return list;
}

// Feeds random typing into a key buffer: pieces byte by byte (most of the time), whole
// characters taken back with Backspace, clears, and now and then a new, small size so that
// strings as long as the buffer or longer occur. `step` is called after every change.
template <typename Next, typename Buffer, typename Step>
void random_typing(Next& next, Buffer& buffer, size_t steps, Step step) {
  const auto& pieces = random_pieces();
  for (size_t i = 0; i < steps; ++i) {
    size_t what = next(20);
    if (what == 0) {
      buffer.clear();
    } else if (what == 1) {
      buffer.resize(static_cast<int>(next(12)));
    } else if (what <= 4) {
      buffer.key_pressed("\b", 0x08);
    } else {
      for (char b : pieces[next(pieces.size())]) {
        buffer.add_byte(b);
        step();
      }
      continue;
    }
    step();
  }
}

// For benchmarks: `n` abbreviations of two to eight letters (some accented), in folders of
// 100, in every case mode and Anywhere Mode, mostly immediate.
inline FolderList make_sized_library(long n, std::mt19937& rng) {
  FolderList list;
  Folder& top = add_top(list);
  Folder* folder = nullptr;
  const std::vector<std::string> letters = {"a", "b", "c", "d", "e", "f", "g", "h", "i",
                                            "j", "k", "l", "m", "n", "o", "p", "q", "r",
                                            "s", "t", "u", "v", "w", "x", "y", "z", "\xC3\xA9"};
  auto pick = [&](size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(rng); };
  for (long i = 0; i < n; ++i) {
    if (i % 100 == 0) folder = &add_folder(top, "Folder " + std::to_string(i));
    std::string s;
    size_t len = 2 + pick(7);
    for (size_t k = 0; k < len; ++k) s += letters[pick(letters.size())];
    AbbrevModes modes{static_cast<int>(pick(3)),
                      pick(4) == 0 ? TRIGGER_WORD_ENDING : TRIGGER_IMMEDIATELY,
                      static_cast<uint8_t>(pick(3))};
    add_abbrev(*folder, {s}, modes);
  }
  return list;
}

}  // namespace tolvan::testing
