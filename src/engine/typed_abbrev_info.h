// TypedAbbrevInfo: one recognised abbreviation on its way from the hook thread to the output
// thread. The hook thread fills the first part; the output thread owns the record from the
// hand-off on and fills the rest while it builds the replacement.
#pragma once

#include <memory>
#include <string>

#include "library/model.h"
#include "platform/windows.h"

namespace tolvan {

// Delimiter key of an insertion from the abbreviation menu (nothing was typed).
inline constexpr int kDelimiterKeyMenuInsertion = -1;

struct TypedAbbrevInfo {
  // Set by the hook thread.
  std::unique_ptr<Abbreviation> abbreviation;  // a deep copy: library edits meanwhile do not matter
  std::string typed;        // what the user typed for it, in the user's case (UTF-8)
  int delimiter_key = 0;    // vk of the releasing delimiter; kDelimiterKeyMenuInsertion; else 0
  bool delimiter_shift = false;  // a Shift key was down with the delimiter
  WindowId window = 0;      // the foreground window it was typed in
  bool dead_key = false;    // a dead key was pending: one more character to erase
  char32_t delimiter_char = 0;   // what the delimiter typed (CR stored as LF), 0 for none
  bool do_not_erase = false;     // inserted from the menu: nothing to erase
  // The hook answered Swallow for the releasing key and that key makes a character; on a
  // backend that cannot swallow it reached the application and is erased with the rest.
  bool swallowed_key_typed_char = false;

  // Set by the output thread.
  std::string text;         // the text to type or paste
  int cursor_back = 0;      // characters the caret goes left after the text
  bool capitalize_first = false;  // upper-case the first character typed or pasted
};

}  // namespace tolvan
