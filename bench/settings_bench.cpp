// The settings file and store at the sizes Tolvan meets: a preferences file of a few hundred
// keys, read at start, written at quit, and looked up linearly by key.
#include <benchmark/benchmark.h>

#include <string>

#include "settings/settings_file.h"

namespace {

tolvan::Settings typical_prefs(int keys) {
  tolvan::Settings s;
  for (int i = 0; i < keys; ++i) {
    s.set("preference_key_" + std::to_string(i), "value \"" + std::to_string(i) + "\"\\\nline");
  }
  return s;
}

void BM_SettingsParse(benchmark::State& state) {
  const std::string text = tolvan::settings_serialize(typical_prefs(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    tolvan::Settings s;
    benchmark::DoNotOptimize(tolvan::settings_parse(text, s).ok());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SettingsParse)->Arg(50)->Arg(300);

void BM_SettingsSerialize(benchmark::State& state) {
  const tolvan::Settings s = typical_prefs(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(tolvan::settings_serialize(s));
}
BENCHMARK(BM_SettingsSerialize)->Arg(300);

// The last key of the list, in another case: the worst lookup.
void BM_SettingsLookup(benchmark::State& state) {
  const tolvan::Settings s = typical_prefs(static_cast<int>(state.range(0)));
  const std::string key = "PREFERENCE_KEY_" + std::to_string(state.range(0) - 1);
  for (auto _ : state) benchmark::DoNotOptimize(s.get(key));
}
BENCHMARK(BM_SettingsLookup)->Arg(300);

}  // namespace
