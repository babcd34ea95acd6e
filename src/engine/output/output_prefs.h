// OutputPrefs: the preferences the output thread works with, copied out of the preferences
// list whenever it is (re)loaded, so the output thread never touches the list itself.
#pragma once

#include <string>
#include <string_view>

#include "settings/prefs.h"
#include "settings/settings.h"

namespace tolvan {

struct OutputPrefs {
  int output_method = 0;             // 1: always paste through the clipboard
  bool use_clipboard_more_than = false;
  int clipboard_more_than_chars = 3500;
  bool clipboard_restore = false;    // put the user's clipboard back after pasting
  bool play_sound = false;
  bool cont_window_changed = false;  // false: stop when the foreground window changes
  bool textexpander_mode = false;
  int default_trigger_mode = 3;
  std::string terminal_classes{kDefaultTerminalClasses};  // paste with Shift+Ctrl+V there

  // Takes the values from the preferences; a missing default trigger mode is stored as
  // prefs_get_default_trigger_mode does, hence the non-const list.
  static OutputPrefs from(Settings& prefs);
};

// repl_output_method: 0 key simulation, 1 clipboard, for a text of `length` bytes before
// the delimiter is added (-1: length unknown).
int repl_output_method(const OutputPrefs& prefs, long length);

// Whether `class_name` is one of the ';'-separated `classes`, compared without case (ASCII).
bool keysim_is_terminal_class(std::string_view classes, std::string_view class_name);

}  // namespace tolvan
