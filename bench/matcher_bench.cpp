// Matching on one key-down (the key buffer update and the matcher's decision) with
// 1,000 to 100,000 abbreviations, against the plain library walk it replaces.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "../tests/support/random_library.h"
#include "engine/matching/abbrev_matcher.h"
#include "engine/matching/abbrev_walk.h"
#include "engine/hook/key_buffer.h"

namespace tolvan {
namespace {

// Ordinary typing: words of letters separated by spaces.
std::string make_typing(std::mt19937& rng) {
  std::string text;
  for (int i = 0; i < 4096; ++i) {
    text += static_cast<char>('a' + rng() % 26);
    if (rng() % 6 == 0) text += ' ';
  }
  return text;
}

void BM_KeyDown(benchmark::State& state) {
  std::mt19937 rng(7);
  FolderList main = testing::make_sized_library(state.range(0), rng);
  std::string typing = make_typing(rng);
  MatcherPrefs prefs;
  prefs.delim_chars = " ";
  KeyBuffer buffer;
  AbbrevMatcher matcher(buffer, nullptr);
  matcher.set_prefs(prefs);
  matcher.library_changed(main);
  size_t i = 0, complete = 0;
  for (auto _ : state) {
    const char typed[2] = {typing[i++ % typing.size()], 0};
    buffer.key_pressed(typed, 0);
    complete += matcher.was_abbrev_typed_by_user(0, typed).complete ? 1 : 0;
  }
  state.counters["complete_per_key"] =
      benchmark::Counter(static_cast<double>(complete) / static_cast<double>(i));
}
BENCHMARK(BM_KeyDown)->Arg(1000)->Arg(10000)->Arg(100000);

// The walk over the whole library on every key, for comparison.
void BM_KeyDownWalk(benchmark::State& state) {
  std::mt19937 rng(7);
  FolderList main = testing::make_sized_library(state.range(0), rng);
  std::string typing = make_typing(rng);
  KeyBuffer buffer;
  buffer.adjust_size(main);
  size_t i = 0;
  for (auto _ : state) {
    const char typed[2] = {typing[i++ % typing.size()], 0};
    buffer.key_pressed(typed, 0);
    benchmark::DoNotOptimize(mon_walk_find_best_match(main, buffer.bytes()));
  }
}
BENCHMARK(BM_KeyDownWalk)->Arg(1000)->Arg(10000)->Arg(100000);

// Building the index when the library is loaded or changed.
void BM_LibraryChanged(benchmark::State& state) {
  std::mt19937 rng(7);
  FolderList main = testing::make_sized_library(state.range(0), rng);
  KeyBuffer buffer;
  AbbrevMatcher matcher(buffer, nullptr);
  for (auto _ : state) matcher.library_changed(main);
}
BENCHMARK(BM_LibraryChanged)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvan
