// tolvan-cli run: Tolvan's expansion engine on the real X display, with the configured
// preferences and library, until it is interrupted (SIGINT or SIGTERM).
#include <glib-unix.h>
#include <glib.h>
#include <signal.h>

#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_session.h"
#include "cli/commands.h"
#include "engine/engine.h"
#include "launch/app_hotkeys.h"
#include "platform/x11/x11_platform.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli [--config-dir DIR] run [--library FILE]\n\n"
    "Runs Tolvan's expansion engine on the X display named by DISPLAY, with the\n"
    "preferences of the configured folder, and prints \"ready\" once it watches the\n"
    "keyboard. It runs until interrupted (Ctrl+C, SIGTERM) and then removes its hooks.\n"
    "The toggle-status hotkey of the preferences (ed_enable, ed_hotkey) switches it off\n"
    "and on again, printing \"disabled\" and \"enabled\".\n\n"
    "Options:\n"
    "  --library FILE      the abbreviation file (default: the configured library)\n";

// Without Tolvan's windows only the toggle-status hotkey has something to do; the others
// stay free for other programs.
class HeadlessHotkeyActions final : public HotkeyActions {
 public:
  HeadlessHotkeyActions(Engine& engine, std::ostream& out, std::ostream& err)
      : engine_(engine), out_(out), err_(err) {}
  bool provides(int hotkey_id) const override { return hotkey_id == kToggleStatusHotkeyId; }
  void show_launchpad() override {}
  void toggle_status() override {
    const bool enable = !engine_.enabled();
    const bool done = enable ? engine_.install_keyboard_hook() : engine_.uninstall_keyboard_hook();
    if (done) {
      out_ << (enable ? "enabled" : "disabled") << std::endl;
    } else {
      err_ << "tolvan-cli run: The keyboard hook could not be " << (enable ? "installed" : "removed")
           << ".\n";
    }
  }
  void show_main_window() override {}
  void show_abbrev_menu() override {}

 private:
  Engine& engine_;
  std::ostream& out_;
  std::ostream& err_;
};

gboolean quit_loop(gpointer loop) {
  g_main_loop_quit(static_cast<GMainLoop*>(loop));
  return G_SOURCE_CONTINUE;
}

constexpr OptionSpec kOptions[] = {{"--library", "a file"}};

}  // namespace

int run_run_command(const Invocation& inv) {
  const Arguments args(inv.args, {kOptions, UnknownOption::kUnexpected});
  if (args.help()) {
    inv.out << kUsage;
    return 0;
  }
  if (!args.problem().empty()) return usage_error(inv, "run", args.problem(), kUsage);
  if (!args.positionals().empty()) {
    return usage_error(inv, "run", unexpected_argument(args.positionals()[0]), kUsage);
  }
  const std::string library_file = args.value("--library").value_or("");
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  const guint on_int = g_unix_signal_add(SIGINT, quit_loop, loop);
  const guint on_term = g_unix_signal_add(SIGTERM, quit_loop, loop);
  const auto finish = [&](int status) {
    g_source_remove(on_int);
    g_source_remove(on_term);
    g_main_loop_unref(loop);
    return status;
  };
  auto desktop = x11::X11Platform::open();
  if (!desktop) {
    inv.err << "tolvan-cli run: " << desktop.error() << "\n";
    return finish(1);
  }
  Session session(inv);
  (void)session.load_library(library_file);  // problems went to the prompts (stderr)

  const Platform platform = (*desktop)->platform();
  Engine engine(platform, session.library, MacroEnvironment{});
  engine.prefs_reloaded(session.prefs);
  if (!engine.start()) {
    inv.err << "tolvan-cli run: The keyboard hook could not be installed.\n";
    return finish(1);
  }
  HeadlessHotkeyActions actions(engine, inv.out, inv.err);
  AppHotkeys hotkeys(*platform.hotkeys, session.prefs, actions);
  hotkeys.register_all();
  inv.out << "ready" << std::endl;
  g_main_loop_run(loop);
  hotkeys.unregister_all();
  engine.stop(true);
  return finish(0);
}

}  // namespace tolvan::cli
