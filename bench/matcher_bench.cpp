// Matching on one key-down (the key buffer update and mon_was_abbrev_typed_by_user) with
// 1,000 to 100,000 abbreviations, against the plain library walk it replaces.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "../tests/support/random_library.h"
#include "engine/abbrev_matcher.h"
#include "engine/abbrev_walk.h"
#include "engine/mon_key_buffer.h"

namespace tolvan {
namespace {

// `n` abbreviations of two to eight letters (some accented), in folders of 100, in every
// case mode and Anywhere Mode, mostly immediate.
FolderList make_library(long n, std::mt19937& rng) {
  FolderList list;
  Folder& top = testing::add_top(list);
  Folder* folder = nullptr;
  const std::vector<std::string> letters = {"a", "b", "c", "d", "e", "f", "g", "h", "i",
                                            "j", "k", "l", "m", "n", "o", "p", "q", "r",
                                            "s", "t", "u", "v", "w", "x", "y", "z", "\xC3\xA9"};
  auto pick = [&](size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(rng); };
  for (long i = 0; i < n; ++i) {
    if (i % 100 == 0) folder = &testing::add_folder(top, "Folder " + std::to_string(i));
    std::string s;
    size_t len = 2 + pick(7);
    for (size_t k = 0; k < len; ++k) s += letters[pick(letters.size())];
    testing::AbbrevSpec spec{static_cast<int>(pick(3)), pick(4) == 0 ? TRIGGER_WORD_ENDING : TRIGGER_IMMEDIATELY,
                             static_cast<uint8_t>(pick(3))};
    testing::add_abbrev(*folder, {s}, spec);
  }
  return list;
}

// Ordinary typing: words of letters separated by spaces.
std::u16string make_typing(std::mt19937& rng) {
  std::u16string text;
  for (int i = 0; i < 4096; ++i) {
    text += static_cast<char16_t>(u'a' + rng() % 26);
    if (rng() % 6 == 0) text += u' ';
  }
  return text;
}

void BM_KeyDown(benchmark::State& state) {
  std::mt19937 rng(7);
  FolderList main = make_library(state.range(0), rng);
  std::u16string typing = make_typing(rng);
  MatcherPrefs prefs;
  prefs.delim_chars = " ";
  KeyBuffer buffer;
  AbbrevMatcher matcher(buffer, nullptr);
  matcher.set_prefs(prefs);
  matcher.library_changed(main);
  std::optional<AbbrevMatch> out;
  size_t i = 0, complete = 0;
  for (auto _ : state) {
    char16_t c = typing[i++ % typing.size()];
    buffer.key_pressed(std::u16string_view(&c, 1), 0);
    char typed[2] = {static_cast<char>(c), 0};
    complete += matcher.was_abbrev_typed_by_user(0, typed, &out) & kAbbrevComplete;
  }
  state.counters["complete_per_key"] =
      benchmark::Counter(static_cast<double>(complete) / static_cast<double>(i));
}
BENCHMARK(BM_KeyDown)->Arg(1000)->Arg(10000)->Arg(100000);

// The walk over the whole library on every key, for comparison.
void BM_KeyDownWalk(benchmark::State& state) {
  std::mt19937 rng(7);
  FolderList main = make_library(state.range(0), rng);
  std::u16string typing = make_typing(rng);
  KeyBuffer buffer;
  buffer.adjust_size(main);
  size_t i = 0;
  for (auto _ : state) {
    char16_t c = typing[i++ % typing.size()];
    buffer.key_pressed(std::u16string_view(&c, 1), 0);
    benchmark::DoNotOptimize(mon_walk_find_best_match(main, buffer.bytes()));
  }
}
BENCHMARK(BM_KeyDownWalk)->Arg(1000)->Arg(10000)->Arg(100000);

// Building the index when the library is loaded or changed.
void BM_LibraryChanged(benchmark::State& state) {
  std::mt19937 rng(7);
  FolderList main = make_library(state.range(0), rng);
  KeyBuffer buffer;
  AbbrevMatcher matcher(buffer, nullptr);
  for (auto _ : state) matcher.library_changed(main);
}
BENCHMARK(BM_LibraryChanged)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvan
