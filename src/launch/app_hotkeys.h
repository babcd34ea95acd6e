// The application's global hotkeys: launch pad, toggle status, main window and the
// abbreviation menu, each switched on and off in the preferences, registered with the
// desktop under fixed ids; a press runs the row's action if it is still switched on.
#pragma once

#include <span>

#include "platform/hotkeys.h"
#include "settings/settings.h"

namespace tolvan {

struct AppHotkeyRow {
  const char* label;        // as conflict reports name it
  const char* enable_key;   // preference
  const char* hotkey_key;   // preference holding the hotkey string
  int id;
};

inline constexpr int kLaunchPadHotkeyId = 171;
inline constexpr int kToggleStatusHotkeyId = 174;
inline constexpr int kShowMainWindowHotkeyId = 175;
inline constexpr int kAbbrevMenuHotkeyId = 186;

// The rows in the order the preferences list them.
std::span<const AppHotkeyRow> app_hotkey_rows();

// What the hotkeys do; the program's windows provide it.
class HotkeyActions {
 public:
  virtual ~HotkeyActions() = default;
  virtual void show_launchpad() = 0;          // with no folder chosen
  virtual void toggle_status() = 0;           // enabled <-> disabled
  virtual void show_main_window() = 0;
  virtual void show_abbrev_menu() = 0;        // the menu of every folder, at the caret
  // A program without some of the windows leaves their hotkeys to other programs.
  virtual bool provides(int hotkey_id) const {
    (void)hotkey_id;
    return true;
  }
};

class AppHotkeys {
 public:
  // Everything given outlives this object; presses arrive through pressed() (the
  // HotkeyDispatcher routes them).
  AppHotkeys(Hotkeys& hotkeys, const Settings& prefs, HotkeyActions& actions);
  ~AppHotkeys();
  AppHotkeys(const AppHotkeys&) = delete;
  AppHotkeys& operator=(const AppHotkeys&) = delete;

  // Every row switched on whose string holds a key (a string of modifiers alone registers
  // nothing) and whose action is provided; a combination another
  // program holds is silently not available. Answers how many were registered.
  int register_all();
  // The application rows' hotkeys only.
  void unregister_all();
  // A registered application hotkey was pressed; called on the main thread. Other ids do
  // nothing.
  void pressed(int id);

 private:
  Hotkeys& hotkeys_;
  const Settings& prefs_;
  HotkeyActions& actions_;
};

}  // namespace tolvan
