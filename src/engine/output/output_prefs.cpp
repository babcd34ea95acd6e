// The output thread's preferences and the output-method decision made from them.
#include "engine/output/output_prefs.h"

#include "core/strings.h"
#include "settings/prefs.h"

namespace tolvan {

OutputPrefs OutputPrefs::from(Settings& prefs) {
  OutputPrefs p;
  // Only 1 pastes every replacement; any other number types them.
  p.output_method = prefs.get_int("output_method") == 1 ? OutputMethod::kClipboard
                                                        : OutputMethod::kKeySimulation;
  p.use_clipboard_more_than = prefs.get_int("use_clipboard_more_than") != 0;
  p.clipboard_more_than_chars = prefs.get_int("clipboard_more_than_chars");
  p.clipboard_restore = prefs.get_int("clipboard_restore") == 1;
  p.play_sound = prefs.get_int("play_sound") != 0;
  p.cont_window_changed = prefs.get_int("cont_window_changed") != 0;
  p.textexpander_mode = prefs.get_int("textexpander_mode") != 0;
  p.default_trigger_mode = prefs_get_default_trigger_mode(prefs);
  // A list without the key (one built by hand, not loaded) keeps the usual terminals.
  if (prefs.does_exist("terminal_classes")) p.terminal_classes = prefs.get("terminal_classes");
  if (prefs.does_exist("primary_paste_classes")) p.primary_paste_classes = prefs.get("primary_paste_classes");
  if (prefs.does_exist("lazy_input_classes")) p.lazy_input_classes = prefs.get("lazy_input_classes");
  return p;
}

OutputMethod repl_output_method(const OutputPrefs& prefs, std::optional<size_t> length) {
  if (prefs.output_method == OutputMethod::kClipboard) return OutputMethod::kClipboard;
  if (!length || !prefs.use_clipboard_more_than) return OutputMethod::kKeySimulation;
  return static_cast<long long>(prefs.clipboard_more_than_chars) < static_cast<long long>(*length)
             ? OutputMethod::kClipboard
             : OutputMethod::kKeySimulation;
}

bool window_class_listed(std::string_view classes, std::string_view class_name) {
  if (class_name.empty()) return false;
  for (const std::string& piece : strsplit(classes, ";")) {
    // People write lists by hand with spaces after the separators.
    std::string_view entry = piece;
    while (!entry.empty() && entry.front() == ' ') entry.remove_prefix(1);
    while (!entry.empty() && entry.back() == ' ') entry.remove_suffix(1);
    if (equals_ignore_case(entry, class_name)) return true;
  }
  return false;
}

}  // namespace tolvan
