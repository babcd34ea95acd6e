// The output thread's own cost per character of a replacement on the simulated desktop: a
// 1,000-character expansion typed as key events (mixed case, so Shift runs come and go),
// the same with characters no key makes, and pasted through the clipboard. The desktop's
// share can be read off sim_desktop_bench; the fixed paste waits cost nothing on its clock.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "../tests/support/typed_record.h"
#include "engine/output/output_thread.h"
#include "platform/sim/desktop.h"

namespace {

using namespace tolvan;

class QuietHookSide final : public HookSide {
 public:
  void post(MonMessage) override {}
  void before_replace() override {}
  void caps_lock_preppy() override {}
};

size_t characters(std::string_view utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

// `chars` characters of the pattern, repeated.
std::string expansion_of(size_t chars, std::string_view pattern) {
  std::string text;
  for (size_t i = 0, n = 0; n < chars; i = (i + 1) % pattern.size()) {
    text += pattern[i];
    if (i + 1 == pattern.size() || (static_cast<unsigned char>(pattern[i + 1]) & 0xC0) != 0x80) ++n;
  }
  return text;
}

void run(benchmark::State& state, const std::string& expansion, OutputMethod output_method) {
  sim::Desktop desktop;
  desktop.log().set_recording(false);
  WindowId window = desktop.add_window("Edit");
  desktop.focus(window);
  (void)desktop.install_keyboard([](const KeyEvent&) { return HookAnswer::Pass; });
  QuietHookSide hook;
  InteractiveInputState ii;
  OutputThread keysim(desktop.platform(), hook, ii, MacroEnvironment{}, nullptr);
  OutputPrefs prefs;
  prefs.output_method = output_method;
  keysim.set_prefs(prefs);

  auto typed = testing::typed_record("x", expansion, window, CASE_SENSITIVE);
  TypedAbbrevInfo& record = *typed;
  for (auto _ : state) {
    desktop.set_text(window, "x");
    keysim.handle(record);
  }
  if (desktop.text(window).size() != expansion.size()) state.SkipWithError("the expansion did not arrive");
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(characters(expansion)));
}

void BM_TypeExpansion(benchmark::State& state) {
  run(state, expansion_of(1000, "The Quick brown FOX jumps, over 12 lazy dogs. "),
      OutputMethod::kKeySimulation);
}
BENCHMARK(BM_TypeExpansion)->Unit(benchmark::kMillisecond);

void BM_TypeExpansionUnicodeEvents(benchmark::State& state) {
  // "€" and "ß" have no key on the US layout: one Unicode event pair each.
  run(state, expansion_of(1000, "€ß"), OutputMethod::kKeySimulation);
}
BENCHMARK(BM_TypeExpansionUnicodeEvents)->Unit(benchmark::kMillisecond);

void BM_PasteExpansion(benchmark::State& state) {
  run(state, expansion_of(1000, "The Quick brown FOX jumps, over 12 lazy dogs. "),
      OutputMethod::kClipboard);
}
BENCHMARK(BM_PasteExpansion)->Unit(benchmark::kMillisecond);

}  // namespace
