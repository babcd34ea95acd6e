// tolvan-cli run: Tolvan's expansion engine on the real X display, with the configured
// preferences and library, until it is interrupted (SIGINT or SIGTERM).
#include <glib-unix.h>
#include <glib.h>
#include <signal.h>

#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_session.h"
#include "cli/commands.h"
#include "app/enabled_switch.h"
#include "app/expander.h"
#include "library/abbrev_strings.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli [--config-dir DIR] run [--library FILE]\n\n"
    "Runs Tolvan's expansion engine on the X display named by DISPLAY, with the\n"
    "preferences of the configured folder, and prints \"ready\" once it watches the\n"
    "keyboard. It runs until interrupted (Ctrl+C, SIGTERM) and then removes its hooks.\n"
    "The toggle-status hotkey of the preferences (ed_enable, ed_hotkey) switches it off\n"
    "and on again, printing \"disabled\" and \"enabled\". A folder's pop-up menu hotkey\n"
    "prints \"menu\" and the folder's path: there is no menu to show here. Launcher\n"
    "abbreviations start their programs, files, folders and websites.\n\n"
    "Options:\n"
    "  --library FILE      the abbreviation file (default: the configured library)\n";

// Without Tolvan's windows only the toggle-status hotkey has something to do; the others
// stay free for other programs. The switch's state is printed as it changes.
class HeadlessHotkeyActions final : public HotkeyActions, public StateListener {
 public:
  HeadlessHotkeyActions(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
  void attach(EnabledSwitch& enabled) {
    enabled_ = &enabled;
    enabled.add_listener(this);
  }
  bool provides(int hotkey_id) const override { return hotkey_id == kToggleStatusHotkeyId; }
  void show_launchpad() override {}
  void toggle_status() override {
    if (enabled_ && !enabled_->toggle()) {
      err_ << "tolvan-cli run: The keyboard hook could not be "
           << (enabled_->state() == TOLVAN_STATE_ENABLED ? "removed" : "installed") << ".\n";
    }
  }
  void show_main_window() override {}
  void show_abbrev_menu() override {}
  void app_state_changed(int state) override {
    out_ << (state == TOLVAN_STATE_ENABLED ? "enabled" : "disabled") << std::endl;
  }

 private:
  EnabledSwitch* enabled_ = nullptr;
  std::ostream& out_;
  std::ostream& err_;
};

// Without windows there is no abbreviation menu: a folder hotkey says whose menu it is.
class HeadlessFolderMenu final : public FolderMenu {
 public:
  explicit HeadlessFolderMenu(std::ostream& out) : out_(out) {}
  void show_folder_menu(const Folder& folder) override {
    out_ << "menu " << abbr_get_full_folder_path_string(folder, nullptr, false) << std::endl;
  }

 private:
  std::ostream& out_;
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
  Session session(inv);
  HeadlessHotkeyActions actions(inv.out, inv.err);
  HeadlessFolderMenu folder_menu(inv.out);
  auto expander = Expander::open(session.library, session.prefs, actions, {nullptr, &folder_menu},
                                 portable_mode(session.gvar));
  if (!expander) {
    inv.err << "tolvan-cli run: " << expander.error() << "\n";
    return finish(1);
  }
  (void)session.load_library(library_file);  // problems went to the prompts (stderr)
  EnabledSwitch enabled(**expander);
  actions.attach(enabled);

  (*expander)->register_hotkeys();
  (*expander)->register_folder_hotkeys(MAIN_LIST);
  if (!(*expander)->start()) {
    inv.err << "tolvan-cli run: The keyboard hook could not be installed.\n";
    return finish(1);
  }
  inv.out << "ready" << std::endl;
  g_main_loop_run(loop);
  (*expander)->stop();
  (*expander)->unregister_hotkeys();
  return finish(0);
}

}  // namespace tolvan::cli
