// Hostile input for the simulated desktop: arbitrary key events, injected keys, Unicode
// packets and text typed on any layout must never break the text field's invariants.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/utf.h"
#include "platform/sim/desktop.h"
#include "platform/sim/user.h"

using namespace tolvan;
using namespace tolvan::sim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const Layout* layouts[] = {&us_layout(), &us_international_layout(), &german_layout()};
  DesktopOptions options;
  options.can_swallow = data[0] & 4;
  options.translation_consumes_dead_keys = data[0] & 8;
  Desktop desktop(options);
  User user(desktop);
  WindowId window = desktop.add_window("Edit", *layouts[data[0] % 3], "seed\ntext");
  desktop.focus(window);
  desktop.clipboard().set_contents_text("pasted\r\nlines");
  (void)desktop.install_keyboard([&](const KeyEvent& e) {
    std::u16string out;
    auto state = desktop.keyboard_state();
    if (state && e.down()) desktop.to_unicode(e.vk, e.scan, *state, out, desktop.layout_of(window));
    return (e.vk & 1) ? HookAnswer::Swallow : HookAnswer::Pass;
  });
  for (size_t i = 1; i + 1 < size; i += 2) {
    uint8_t op = data[i], arg = data[i + 1];
    switch (op % 6) {
      case 0: desktop.user_key(arg, op & 8); break;
      case 1: desktop.send_key(arg, static_cast<uint16_t>(op), op & 0x7); break;
      case 2: desktop.send_unicode(static_cast<char16_t>(arg | (op << 8)), op & 8); break;
      case 3: (void)user.type(std::string(1, static_cast<char>(arg))); break;
      case 4: desktop.post_char(window, static_cast<char16_t>(arg)); break;
      case 5: desktop.set_layout(window, *layouts[arg % 3]); break;
    }
  }
  desktop.with_field(window, [](TextField& field) {
    std::string text = field.text();
    if (!utf8_valid(text)) __builtin_trap();
    if (field.caret() > utf8_length(text)) __builtin_trap();
    (void)field.text_with_caret();
  });
  return 0;
}
