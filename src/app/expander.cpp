#include "app/expander.h"

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

}  // namespace

Result<std::unique_ptr<Expander>> Expander::open(Library& library, Settings& prefs,
                                                 HotkeyActions& actions, ExpanderWindows windows) {
  auto desktop = x11::X11Platform::open();
  if (!desktop) return Error{desktop.error()};
  return std::unique_ptr<Expander>(
      new Expander(std::move(*desktop), library, prefs, actions, windows));
}

Expander::Expander(std::unique_ptr<x11::X11Platform> desktop, Library& library, Settings& prefs,
                   HotkeyActions& actions, ExpanderWindows windows)
    : desktop_(std::move(desktop)),
      platform_(desktop_->platform()),
      prefs_(prefs),
      tooltip_(windows.tooltip ? std::make_unique<Tooltip>(*windows.tooltip, timers_,
                                                           *platform_.windows,
                                                           desktop_environment(platform_))
                               : nullptr),
      engine_(platform_, library, desktop_environment(platform_), tooltip_.get(), windows.launcher),
      hotkeys_(*platform_.hotkeys, prefs, actions) {
  engine_.prefs_reloaded(prefs_);
}

Expander::~Expander() {
  stop();
  unregister_hotkeys();
}

void Expander::destroy_tooltip() {
  if (tooltip_) tooltip_->destroy();
}

void Expander::stop() {
  destroy_tooltip();
  engine_.stop(true);
}

}  // namespace tolvan
