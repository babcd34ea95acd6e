// hotkey_probe SECONDS: registers Ctrl+Alt+K as a global hotkey on the X display, prints
// "ready", counts the presses that reach the handler for SECONDS and prints "presses: N".
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/x11/x11_hotkeys.h"
#include "platform/x11/x11_keyboard.h"

int main(int argc, char** argv) {
  using namespace tolvan;
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  x11::X11Keyboard keyboard;
  x11::X11Hotkeys hotkeys(keyboard);
  if (!keyboard.ok() || !hotkeys.ok()) {
    std::fprintf(stderr, "hotkey_probe: no X display\n");
    return 1;
  }
  std::atomic<int> presses{0};
  hotkeys.set_handler([&](int id) {
    if (id == 7) ++presses;
  });
  if (!hotkeys.register_hotkey(7, kModControl | kModAlt, 'K')) {
    std::fprintf(stderr, "hotkey_probe: Ctrl+Alt+K is taken\n");
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  hotkeys.unregister_hotkey(7);
  std::printf("presses: %d\n", presses.load());
  return 0;
}
