// The insertion macros of an expansion, run before anything is typed: TextExpander codes
// converted, dates and times, the clipboard's text, and the caret mark %(cursor).
#pragma once

#include <string>
#include <string_view>

#include "engine/macros/macro_environment.h"

namespace tolvan {

struct InsertionResult {
  std::string text;
  // Characters of `text` after the caret mark: how far the caret moves back once typed.
  long cursor_back = 0;
};

// The four steps in order: TextExpander codes, date arithmetic and date/time macros, the
// clipboard macro, the caret mark.
InsertionResult insertion_macros_execute(std::string_view text, const MacroEnvironment& env);

// Every unescaped %(clipboard) (any case) replaced by the clipboard's text (carriage return
// and newline pairs made newlines; empty when there is none), then %%(clipboard) made
// %(clipboard). The clipboard is read only when the macro is present.
std::string clipboard_insertion_macro_execute(std::string_view text, const MacroEnvironment& env);

// The caret mark step on its own: removes the %(cursor) marks and measures the caret's place.
InsertionResult cursor_insertion_macro_execute(std::string_view text);

}  // namespace tolvan
