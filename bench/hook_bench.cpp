// The hook's whole cost for one key-down (state, translation, the key buffer, matching)
// with 1,000 to 100,000 abbreviations, on the simulated desktop's keyboard.
#include <benchmark/benchmark.h>

#include <random>

#include "../tests/support/random_library.h"
#include "engine/hook/monitor.h"
#include "platform/sim/desktop.h"
#include "platform/vk_codes.h"
#include "settings/prefs.h"

namespace tolvan {
namespace {

void BM_HookKeyDown(benchmark::State& state) {
  std::mt19937 rng(7);
  Library library;
  library.main_list = testing::make_sized_library(state.range(0), rng);
  Settings prefs;
  RunTimeVariables gvar;
  prefs_set_defaults(prefs, gvar);
  sim::Desktop desktop;
  desktop.log().set_recording(false);
  desktop.focus(desktop.add_window("Edit"));
  InteractiveInputState ii;
  size_t handed_off = 0;
  Monitor monitor(desktop.platform(), library, ii,
                  [&](std::unique_ptr<TypedAbbrevInfo>) { ++handed_off; }, nullptr);
  monitor.set_prefs(prefs);
  monitor.serve(MonMessage::AdjustKeyBuffer);

  // Ordinary typing: letters with a space now and then.
  std::vector<KeyEvent> keys;
  for (int i = 0; i < 4096; ++i) {
    KeyEvent e;
    e.vk = rng() % 6 == 0 ? vk::Space : static_cast<uint16_t>(vk::KeyA + rng() % 26);
    e.scan = static_cast<uint16_t>(desktop.map_virtual_key(e.vk, MapType::VkToScan, 0));
    keys.push_back(e);
  }
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(monitor.on_key(keys[i++ % keys.size()]));
    if (monitor.temp_disabled()) {
      // A replacement was handed over; the hook watches again at once.
      state.PauseTiming();
      monitor.serve(MonMessage::EnableHook);
      state.ResumeTiming();
    }
  }
  state.counters["replacements_per_key"] =
      benchmark::Counter(static_cast<double>(handed_off) / static_cast<double>(i));
}
BENCHMARK(BM_HookKeyDown)->Arg(1000)->Arg(10000)->Arg(100000);

}  // namespace
}  // namespace tolvan
