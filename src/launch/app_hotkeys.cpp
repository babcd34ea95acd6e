#include "launch/app_hotkeys.h"

#include <array>

#include "launch/hotkey_string.h"

namespace tolvan {
namespace {

constexpr std::array<AppHotkeyRow, 4> kRows{{
    {"LaunchPad hotkey", "launchpad_enable", "launchpad_hotkey", kLaunchPadHotkeyId},
    {"Pop up menu with list of folders and abbreviations hotkey", "acm_enable", "acm_hotkey",
     kAbbrevMenuHotkeyId},
    {"Toggle status (enabled / disabled) hotkey", "ed_enable", "ed_hotkey", kToggleStatusHotkeyId},
    {"Show main windows hotkey", "dmw_enable", "dmw_hotkey", kShowMainWindowHotkeyId},
}};

// Registration goes by id, not by the rows' order.
constexpr std::array<int, 4> kRegistrationOrder{kLaunchPadHotkeyId, kToggleStatusHotkeyId,
                                                kShowMainWindowHotkeyId, kAbbrevMenuHotkeyId};

const AppHotkeyRow* row_of(int id) {
  for (const AppHotkeyRow& row : kRows)
    if (row.id == id) return &row;
  return nullptr;
}

}  // namespace

std::span<const AppHotkeyRow> app_hotkey_rows() { return kRows; }

AppHotkeys::AppHotkeys(Hotkeys& hotkeys, const Settings& prefs, HotkeyActions& actions)
    : hotkeys_(hotkeys), prefs_(prefs), actions_(actions) {}

AppHotkeys::~AppHotkeys() { unregister_all(); }

int AppHotkeys::register_all() {
  int registered = 0;
  for (int id : kRegistrationOrder) {
    const AppHotkeyRow& row = *row_of(id);
    if (prefs_.get_int(row.enable_key) == 0 || !actions_.provides(id)) continue;
    const HotkeyCombo combo = hotkey_string_to_ints(prefs_.get(row.hotkey_key));
    if (combo.key && hotkeys_.register_hotkey(id, combo.modifiers, *combo.key)) ++registered;
  }
  return registered;
}

void AppHotkeys::unregister_all() {
  for (int id : kRegistrationOrder) hotkeys_.unregister_hotkey(id);
}

void AppHotkeys::pressed(int id) {
  const AppHotkeyRow* row = row_of(id);
  // A row switched off since it was registered does nothing.
  if (!row || prefs_.get_int(row->enable_key) == 0) return;
  switch (id) {
    case kLaunchPadHotkeyId: actions_.show_launchpad(); break;
    case kToggleStatusHotkeyId: actions_.toggle_status(); break;
    case kShowMainWindowHotkeyId: actions_.show_main_window(); break;
    case kAbbrevMenuHotkeyId: actions_.show_abbrev_menu(); break;
  }
}

}  // namespace tolvan
