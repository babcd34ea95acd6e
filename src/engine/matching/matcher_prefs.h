// MatcherPrefs: the preferences matching needs, copied out of the preferences list when it
// is (re)loaded, because the hook thread must not read the list the main thread owns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/model.h"
#include "settings/settings.h"

namespace tolvan {

struct MatcherPrefs {
  bool textexpander_mode = false;
  int default_trigger_mode = TRIGGER_IMMEDIATELY;  // 3 to 5
  std::string delim_chars;  // UTF-8, as stored
  bool show_tooltips = false, show_tooltips_trigger = false, show_tooltips_wec = false;
  std::vector<uint16_t> trigger_vks;  // the trigger hotkey's first key only

  // May store the default trigger mode when it is missing or out of range, as
  // prefs_get_default_trigger_mode does.
  static MatcherPrefs from(Settings& prefs);
};

// The virtual-key codes of a hotkey string ("17 32"), split at spaces, each read like atoi;
// with `first_only` only the first one.
std::vector<uint16_t> trigger_hotkey_pref_string_to_int_plist(std::string_view hotkey,
                                                              bool first_only);

}  // namespace tolvan
