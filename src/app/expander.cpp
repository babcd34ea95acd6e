#include "app/expander.h"

#include <glib.h>

#include <ctime>

namespace tolvan {
namespace {

MacroEnvironment desktop_environment(const Platform& platform) {
  MacroEnvironment env;
  env.now = [] { return std::time(nullptr); };
  Clipboard* clipboard = platform.clipboard;
  env.clipboard_text = [clipboard] { return clipboard->text(); };
  return env;
}

// The output thread launches; a launch that fails is told on standard error, as GLib's
// messages are.
void report_launch_failure(const std::string& message) {
  g_warning("%s", message.c_str());
}

}  // namespace

Result<std::unique_ptr<Expander>> Expander::open(Library& library, Settings& prefs,
                                                 HotkeyActions& actions, ExpanderWindows windows,
                                                 bool portable_mode) {
  auto desktop = x11::X11Platform::open();
  if (!desktop) return Error{desktop.error()};
  return std::unique_ptr<Expander>(
      new Expander(std::move(*desktop), library, prefs, actions, windows, portable_mode));
}

Expander::Expander(std::unique_ptr<x11::X11Platform> desktop, Library& library, Settings& prefs,
                   HotkeyActions& actions, ExpanderWindows windows, bool portable_mode)
    : desktop_(std::move(desktop)),
      platform_(desktop_->platform()),
      prefs_(prefs),
      tooltip_(windows.tooltip ? std::make_unique<Tooltip>(*windows.tooltip, timers_,
                                                           *platform_.windows,
                                                           desktop_environment(platform_))
                               : nullptr),
      launcher_(shell_, desktop_environment(platform_), portable_mode, report_launch_failure),
      engine_(platform_, library, desktop_environment(platform_), tooltip_.get(), &launcher_),
      hotkeys_(*platform_.hotkeys, prefs, actions),
      folder_hotkeys_(*platform_.hotkeys, library, windows.folder_menu),
      dispatcher_(*platform_.hotkeys, hotkeys_, folder_hotkeys_) {
  engine_.prefs_reloaded(prefs_);
}

Expander::~Expander() {
  stop();
  unregister_hotkeys();
}

void Expander::unregister_hotkeys() {
  hotkeys_.unregister_all();
  folder_hotkeys_.unregister_all();
}

void Expander::destroy_tooltip() {
  if (tooltip_) tooltip_->destroy();
}

void Expander::stop() {
  destroy_tooltip();
  engine_.stop(true);
}

}  // namespace tolvan
