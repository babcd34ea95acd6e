// Expander: the one place that puts Tolvan's expander together on the real desktop: the X11
// platform, the engine with what its macros read (the clock, the clipboard's text), the
// preview balloon when the program has a window for it, the launchers (through GIO), the
// application hotkeys and the folder hotkeys. The program and `tolvan-cli run` both use it,
// so there is one way to start and stop expanding:
//   register_hotkeys, register_folder_hotkeys (once the library is loaded, and again whenever
//   changes are applied), start ... stop, unregister_hotkeys.
#pragma once

#include <memory>

#include "app/enabled_switch.h"
#include "app/glib_timers.h"
#include "core/result.h"
#include "engine/engine.h"
#include "engine/tooltip/tooltip.h"
#include "launch/app_hotkeys.h"
#include "launch/folder_hotkeys.h"
#include "launch/hotkey_dispatcher.h"
#include "launch/launcher.h"
#include "library/library.h"
#include "platform/x11/gio_shell.h"
#include "platform/x11/x11_platform.h"
#include "settings/settings.h"

namespace tolvan {

// The windows the expander can use, all optional: without a tooltip view nothing is
// previewed, without a folder menu the folders' hotkeys stay free for other programs.
struct ExpanderWindows {
  TooltipView* tooltip = nullptr;
  FolderMenu* folder_menu = nullptr;
};

class Expander final : public KeyboardHookSwitch {
 public:
  // Connects to the X display named by DISPLAY; the error says what is missing. Everything
  // given outlives the expander. The engine reads the preferences as they are now. In
  // portable mode a website launcher passes over a chosen browser this computer lacks.
  static Result<std::unique_ptr<Expander>> open(Library& library, Settings& prefs,
                                                HotkeyActions& actions, ExpanderWindows windows = {},
                                                bool portable_mode = false);
  ~Expander() override;
  Expander(const Expander&) = delete;
  Expander& operator=(const Expander&) = delete;

  // Answers how many application hotkeys were registered.
  int register_hotkeys() { return hotkeys_.register_all(); }
  // hotkey_handle_acm_hotkeys: the folders' hotkeys renumbered from 255 and registered
  // again, from the main list after it is loaded or reread, from the sandbox when the main
  // window applies its changes (just before the sandbox becomes the main list). Answers how
  // many were registered.
  int register_folder_hotkeys(ListIndex list) { return folder_hotkeys_.register_all(list); }
  // Every hotkey, the folders' too.
  void unregister_hotkeys();
  // The threads and both hooks; false (and nothing running) when it failed.
  bool start() { return engine_.start(); }
  // Nothing is previewed any more.
  void destroy_tooltip();
  // No more previews, then the engine stops, forced.
  void stop();
  // The engine takes the preferences afresh after they changed.
  void prefs_reloaded() { engine_.prefs_reloaded(prefs_); }

  Engine& engine() { return engine_; }
  // The launchers, for the abbreviation menu and the launch pad.
  Launcher& launcher() { return launcher_; }
  Shell& shell() { return shell_; }
  // The desktop's windows: the one in front, its caret (the abbreviation menu's place).
  Windows& windows() { return *platform_.windows; }

  // KeyboardHookSwitch: the enable switch moves only the keyboard hook.
  bool keyboard_hook_installed() const override { return engine_.enabled(); }
  bool install_keyboard_hook() override { return engine_.install_keyboard_hook(); }
  bool remove_keyboard_hook() override { return engine_.uninstall_keyboard_hook(); }

 private:
  Expander(std::unique_ptr<x11::X11Platform> desktop, Library& library, Settings& prefs,
           HotkeyActions& actions, ExpanderWindows windows, bool portable_mode);

  std::unique_ptr<x11::X11Platform> desktop_;
  Platform platform_;
  Settings& prefs_;
  GLibTimers timers_;
  std::unique_ptr<Tooltip> tooltip_;
  GioShell shell_;
  Launcher launcher_;
  Engine engine_;
  AppHotkeys hotkeys_;
  FolderHotkeys folder_hotkeys_;
  HotkeyDispatcher dispatcher_;
};

}  // namespace tolvan
