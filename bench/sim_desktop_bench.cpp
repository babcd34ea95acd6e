// What the simulated desktop itself costs per event, so that measurements of the engine on
// it can be read against it: an injected key pair through a hook into the text field, and a
// user's typed character (Shift+A on US, a dead key and a letter on the others).
#include <benchmark/benchmark.h>

#include "platform/sim/desktop.h"
#include "platform/sim/user.h"
#include "platform/vk_codes.h"

namespace {

using namespace tolvan;
using namespace tolvan::sim;

void BM_InjectedKeyPairThroughHook(benchmark::State& state) {
  Desktop desktop;
  desktop.log().set_recording(false);
  WindowId window = desktop.add_window("Edit");
  desktop.focus(window);
  (void)desktop.install_keyboard([](const KeyEvent&) { return HookAnswer::Pass; });
  int typed = 0;
  for (auto _ : state) {
    desktop.send_key('A', 0x1E, 0);
    desktop.send_key('A', 0x1E, kKeyUp);
    if (++typed % 1000 == 0) desktop.set_text(window, "");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InjectedKeyPairThroughHook);

void BM_UserTypesCharacter(benchmark::State& state) {
  const Layout* layouts[] = {&us_layout(), &us_international_layout(), &german_layout()};
  const Layout& layout = *layouts[state.range(0)];
  Desktop desktop;
  desktop.log().set_recording(false);
  WindowId window = desktop.add_window("Edit", layout);
  desktop.focus(window);
  User user(desktop);
  // A composed character where the layout composes, a shifted one elsewhere.
  const char* text = layout.compositions.empty() ? "A" : "é";
  int typed = 0;
  for (auto _ : state) {
    if (!user.type(text).ok()) state.SkipWithError("could not type");
    if (++typed % 1000 == 0) desktop.set_text(window, "");
  }
  state.SetLabel(layout.name);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UserTypesCharacter)->DenseRange(0, 2);

}  // namespace
