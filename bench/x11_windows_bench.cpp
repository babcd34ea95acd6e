// What the hook and the tooltip ask of X11Windows for every key: the foreground window,
// whether the focus is in a password field, and the caret. Needs the X display in DISPLAY
// (scripts/with-x.sh); without one each benchmark reports an error instead of a time.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/x11/atspi_focus.h"
#include "platform/x11/x11_windows.h"

namespace tolvan::x11 {
namespace {

bool have_display(benchmark::State& state) {
  const char* display = std::getenv("DISPLAY");
  if (display && *display) return true;
  state.SkipWithError("no X display");
  return false;
}

void BM_Foreground(benchmark::State& state) {
  if (!have_display(state)) return;
  X11Windows windows;
  for (auto _ : state) benchmark::DoNotOptimize(windows.foreground());
}
BENCHMARK(BM_Foreground);

void BM_FocusIsSecret(benchmark::State& state) {
  if (!have_display(state)) return;
  X11Windows windows;
  windows.focus_tracker()->wait_started();
  for (auto _ : state) benchmark::DoNotOptimize(windows.focus_is_secret());
}
BENCHMARK(BM_FocusIsSecret);

void BM_Caret(benchmark::State& state) {
  if (!have_display(state)) return;
  X11Windows windows;
  windows.focus_tracker()->wait_started();
  for (auto _ : state) benchmark::DoNotOptimize(windows.caret());
}
BENCHMARK(BM_Caret);

}  // namespace
}  // namespace tolvan::x11
