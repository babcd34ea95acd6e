// hotkey_probe SECONDS: registers Ctrl+Alt+K as a global hotkey on the X display, prints
// "ready", turns the main loop for SECONDS, counting the presses that reach the handler,
// and prints "presses: N". A press handled on any thread but the main one counts as
// "stray".
#include <glib.h>

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
  const std::thread::id main_thread = std::this_thread::get_id();
  int presses = 0;
  int stray = 0;
  hotkeys.set_handler([&](int id) {
    if (std::this_thread::get_id() != main_thread) {
      ++stray;
    } else if (id == 7) {
      ++presses;
    }
  });
  if (!hotkeys.register_hotkey(7, kModControl | kModAlt, 'K')) {
    std::fprintf(stderr, "hotkey_probe: Ctrl+Alt+K is taken\n");
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  g_timeout_add_seconds(
      static_cast<guint>(seconds),
      [](gpointer l) -> gboolean {
        g_main_loop_quit(static_cast<GMainLoop*>(l));
        return G_SOURCE_REMOVE;
      },
      loop);
  g_main_loop_run(loop);
  g_main_loop_unref(loop);
  hotkeys.unregister_hotkey(7);
  if (stray) std::printf("stray: %d\n", stray);
  std::printf("presses: %d\n", presses);
  return 0;
}
