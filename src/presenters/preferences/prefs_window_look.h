// What the Preferences window shows that depends on its values: the texts of normal and
// TextExpander mode, and which controls are sensitive.
#pragma once

#include <array>
#include <span>
#include <string>

#include "presenters/combo_table.h"
#include "presenters/preferences/prefs_form.h"

namespace tolvan {

// te_mode_set_enabled's texts and visibilities.
struct PrefsModeLook {
  const char* case_label;
  const char* trigger_label;
  const char* delim_label;
  const char* tooltip_box_label;
  std::string case_tooltip;
  std::string trigger_tooltip;
  const char* delim_tooltip;
  const char* reset_tooltip;
  const char* tooltip_box_tooltip;
  std::span<const ComboRow> case_table;
  std::span<const ComboRow> trigger_table;
  bool escape_box_visible;
  // The trigger-key row, the two tooltip-kind boxes and the cursor-position box.
  bool normal_only_visible;
};
PrefsModeLook prefs_mode_look(bool te_mode);

struct PrefsSensitivity {
  bool clipboard_restore = false;
  bool show_tooltips = true;
  std::array<bool, 4> hotkey_rows{};  // everything of a row but its enable box
  bool proxy_fields = false;
};
// `te_mode` is the look the window shows, which follows the TextExpander box.
PrefsSensitivity prefs_sensitivity(const PrefsForm& form, bool te_mode);

}  // namespace tolvan
