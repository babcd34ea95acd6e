// OutputPrefs: the preferences the output thread works with, copied out of the preferences
// list whenever it is (re)loaded, so the output thread never touches the list itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/prefs.h"
#include "settings/settings.h"

namespace tolvan {

// How a replacement reaches the application.
enum class OutputMethod {
  kKeySimulation,  // typed key by key
  kClipboard,      // pasted through the clipboard
};

struct OutputPrefs {
  // kClipboard pastes every replacement; kKeySimulation types them, long ones pasted when
  // use_clipboard_more_than says so.
  OutputMethod output_method = OutputMethod::kKeySimulation;
  bool use_clipboard_more_than = false;
  int clipboard_more_than_chars = 3500;
  bool clipboard_restore = false;    // put the user's clipboard back after pasting
  bool play_sound = false;
  bool cont_window_changed = false;  // false: stop when the foreground window changes
  bool textexpander_mode = false;
  int default_trigger_mode = 3;
  std::string terminal_classes{kDefaultTerminalClasses};  // paste with Shift+Ctrl+V there
  // Paste PRIMARY with Shift+Insert there, where the desktop has that selection.
  std::string primary_paste_classes{kDefaultPrimaryPasteClasses};
  // Pause between erasing the abbreviation and the expansion there.
  std::string lazy_input_classes{kDefaultLazyInputClasses};

  // Takes the values from the preferences; a missing default trigger mode is stored as
  // prefs_get_default_trigger_mode does, hence the non-const list.
  static OutputPrefs from(Settings& prefs);
};

// The method for a text of `length` bytes before the delimiter is added (nullopt: length
// unknown, typed unless every replacement is pasted).
OutputMethod repl_output_method(const OutputPrefs& prefs, std::optional<size_t> length);

// Whether `class_name` is one of the ';'-separated `classes`, compared without case (ASCII).
bool window_class_listed(std::string_view classes, std::string_view class_name);

}  // namespace tolvan
