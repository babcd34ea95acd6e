// How long the insertion macros take on expansions of growing size, and how the date step
// scales with the number of date macros (it rescans from the start after each one).
#include <benchmark/benchmark.h>

#include <string>

#include "engine/macros/insertion.h"
#include "engine/macros/textexpander_codes.h"

namespace {

tolvan::MacroEnvironment fixed_environment() {
  tolvan::MacroEnvironment env;
  env.now = [] { return static_cast<std::time_t>(1'700'000'000); };
  env.clipboard_text = [] { return std::optional<std::string>("clipboard text"); };
  return env;
}

// A typical letter: a date line, a clipboard paste, a caret mark, the rest plain prose.
std::string letter(size_t paragraphs) {
  std::string text = "%(WeekdayName), %(#Day) %(MonthName) %(Year)\n\nDear %(cursor),\n\n";
  for (size_t i = 0; i < paragraphs; ++i) {
    text += "Thank you for your message about %(clipboard). We will answer by "
            "%(AddDays 3)%(Day).%(Month). Kind regards, 100%% sure.\n";
  }
  return text;
}

void BM_InsertionMacrosLetter(benchmark::State& state) {
  const std::string text = letter(static_cast<size_t>(state.range(0)));
  const auto env = fixed_environment();
  for (auto _ : state) benchmark::DoNotOptimize(tolvan::insertion_macros_execute(text, env));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_InsertionMacrosLetter)->RangeMultiplier(4)->Range(1, 256);

void BM_InsertionMacrosManyDates(benchmark::State& state) {
  std::string text;
  for (int64_t i = 0; i < state.range(0); ++i) text += "%(Day) ";
  const auto env = fixed_environment();
  for (auto _ : state) benchmark::DoNotOptimize(tolvan::insertion_macros_execute(text, env));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InsertionMacrosManyDates)->RangeMultiplier(4)->Range(4, 1024)->Complexity();

void BM_TextExpanderRoundTrip(benchmark::State& state) {
  std::string text;
  for (int64_t i = 0; i < state.range(0); ++i) text += "%m/%d/%Y %fill:name% %@+3D %| text ";
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        tolvan::tolvan_macros_to_te_macros(tolvan::te_macros_to_tolvan_macros(text)));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TextExpanderRoundTrip)->RangeMultiplier(8)->Range(1, 512);

}  // namespace
