// Reading the matching preferences out of the preferences list.
#include "engine/matching/matcher_prefs.h"

#include <cstdlib>

#include "core/strings.h"
#include "settings/prefs.h"

namespace tolvan {

std::vector<uint16_t> trigger_hotkey_pref_string_to_int_plist(std::string_view hotkey,
                                                              bool first_only) {
  std::vector<uint16_t> vks;
  for (const std::string& piece : strsplit(hotkey, " ")) {
    vks.push_back(static_cast<uint16_t>(std::atoi(piece.c_str())));
    if (first_only) break;
  }
  return vks;
}

MatcherPrefs MatcherPrefs::from(Settings& prefs) {
  MatcherPrefs p;
  p.textexpander_mode = prefs.get_int("textexpander_mode") == 1;
  p.default_trigger_mode = prefs_get_default_trigger_mode(prefs);
  p.delim_chars = prefs.get("delim_chars");
  p.show_tooltips = prefs.get_int("show_tooltips") != 0;
  p.show_tooltips_trigger = prefs.get_int("show_tooltips_trigger") != 0;
  p.show_tooltips_wec = prefs.get_int("show_tooltips_wec") != 0;
  p.trigger_vks = trigger_hotkey_pref_string_to_int_plist(prefs.get("trigger_hotkey"), true);
  return p;
}

}  // namespace tolvan
