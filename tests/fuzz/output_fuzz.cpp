// Whole replacements of hostile expansions on the simulated desktop: typed or pasted, on
// each layout, with or without swallowing. Nothing may crash or hang, and an expansion
// without macros or control characters must arrive exactly as written where the layout
// has no dead keys to combine it.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "../support/typed_record.h"
#include "core/utf.h"
#include "engine/output/output_thread.h"
#include "platform/sim/desktop.h"

namespace {

using namespace tolvan;

// The hook side of a user who presses Tab as soon as an input asks for typing.
class ImpatientHookSide final : public HookSide {
 public:
  explicit ImpatientHookSide(InteractiveInputState& ii) : ii_(ii) {}
  void post(MonMessage message) override {
    if (message == MonMessage::EnableHook && ii_.mode_enabled()) ii_.set_continue_key_pressed(true);
  }
  void before_replace() override {}
  void caps_lock_preppy() override {}

 private:
  InteractiveInputState& ii_;
};

// Counts of many digits only make the run long (a key pressed a million times).
bool has_long_number(std::string_view s) {
  size_t run = 0;
  for (char c : s) {
    run = (c >= '0' && c <= '9') ? run + 1 : 0;
    if (run > 3) return true;
  }
  return false;
}

bool plain_text(std::string_view s) {
  if (!utf8_valid(s)) return false;
  for (unsigned char c : s)
    if (c == '%' || c == 0x7F || (c < 0x20 && c != '\n')) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 2000) return 0;
  const uint8_t options = data[0];
  std::string expansion(reinterpret_cast<const char*>(data + 1), size - 1);
  if (has_long_number(expansion)) return 0;

  const sim::Layout* layouts[] = {&sim::us_layout(), &sim::us_international_layout(), &sim::german_layout()};
  const sim::Layout& layout = *layouts[(options & 3) % 3];
  sim::Desktop desktop(sim::DesktopOptions{.can_swallow = (options & 4) == 0});
  desktop.log().set_recording(false);
  WindowId window = desktop.add_window("Edit", layout, "x");
  desktop.focus(window);
  (void)desktop.install_keyboard([](const KeyEvent&) { return HookAnswer::Pass; });
  InteractiveInputState ii;
  ImpatientHookSide hook(ii);
  OutputThread keysim(desktop.platform(), hook, ii, MacroEnvironment{}, nullptr);
  OutputPrefs prefs;
  prefs.output_method = (options & 8) ? OutputMethod::kClipboard : OutputMethod::kKeySimulation;
  prefs.clipboard_restore = (options & 16) != 0;
  keysim.set_prefs(prefs);

  auto typed = testing::typed_record("x", expansion, window, CASE_SENSITIVE);
  TypedAbbrevInfo& record = *typed;
  keysim.handle(record);
  desktop.wait_input_idle();

  if (record.cursor_back < 0) std::abort();
  if (&layout == &sim::us_layout() && plain_text(expansion) && desktop.text(window) != expansion) std::abort();
  return 0;
}
