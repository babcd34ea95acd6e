// The insertion macro pipeline, the clipboard macro and the caret mark.
#include "engine/macros/insertion.h"

#include <algorithm>

#include "core/strings.h"
#include "core/utf.h"
#include "engine/macros/date_time.h"
#include "engine/macros/syntax.h"
#include "engine/macros/textexpander_codes.h"

namespace tolvan {
namespace {

constexpr std::string_view kClipboard = "%(clipboard)";
constexpr std::string_view kEscapedClipboard = "%%(clipboard)";
constexpr std::string_view kCursor = "%(cursor)";
constexpr std::string_view kEscapedCursor = "%%(cursor)";

// Byte offset of the first unescaped `macro` (case-insensitive), or npos.
size_t find_unescaped(std::string_view text, std::string_view macro) {
  for (size_t pos = 0; pos + macro.size() <= text.size(); ++pos) {
    if (macro_has_prefix_at(text, pos, macro) && !macro_percent_escaped(text, pos)) return pos;
  }
  return std::string_view::npos;
}

// Byte offset of the last unescaped `macro` written exactly so, or npos.
size_t rfind_unescaped_exact(std::string_view text, std::string_view macro) {
  size_t pos = text.rfind(macro);
  while (pos != std::string_view::npos) {
    if (!macro_percent_escaped(text, pos)) return pos;
    if (pos == 0) break;
    pos = text.rfind(macro, pos - 1);
  }
  return std::string_view::npos;
}

// Byte offset where the last `chars` characters of `text` begin (0 when it is shorter).
size_t tail_start(std::string_view text, long chars) {
  size_t pos = text.size();
  for (long seen = 0; seen < chars; ++seen) {
    std::optional<size_t> start = utf8_previous_char_start(text, pos);
    if (!start) return 0;
    pos = *start;
  }
  return pos;
}

long count_occurrences(std::string_view text, std::string_view what) {
  long n = 0;
  for (size_t pos = 0; pos + what.size() <= text.size();) {
    if (macro_has_prefix_at(text, pos, what)) {
      ++n;
      pos += what.size();
    } else {
      ++pos;
    }
  }
  return n;
}

}  // namespace

std::string clipboard_insertion_macro_execute(std::string_view text, const MacroEnvironment& env) {
  if (find_unescaped(text, kClipboard) == std::string_view::npos) return std::string(text);
  std::string clip;
  if (env.clipboard_text) {
    if (auto contents = env.clipboard_text()) clip = substitute_str(*contents, "\r\n", "\n");
  }
  std::string out = substitute_str_ignore_befaft(text, kClipboard, '%', true, false, true, clip,
                                                 false);
  return substitute_str(out, kEscapedClipboard, kClipboard, false);
}

InsertionResult cursor_insertion_macro_execute(std::string_view text) {
  InsertionResult result;
  size_t mark = rfind_unescaped_exact(text, kCursor);
  if (mark != std::string_view::npos) {
    result.cursor_back = static_cast<long>(utf8_length(text.substr(mark + kCursor.size())));
  }
  std::string out = substitute_str_ignore_befaft(text, kCursor, '%', true, false, true, "", false);
  if (mark != std::string_view::npos) {
    // Each escaped mark in the counted part loses one "%" below.
    std::string_view counted = std::string_view(out).substr(tail_start(out, result.cursor_back));
    result.cursor_back = std::max(0L, result.cursor_back - count_occurrences(counted,
                                                                              kEscapedCursor));
  }
  result.text = substitute_str(out, kEscapedCursor, kCursor, false);
  return result;
}

InsertionResult insertion_macros_execute(std::string_view text, const MacroEnvironment& env) {
  std::string out = te_macros_to_tolvan_macros(text);
  out = date_time_insertion_macros_execute(out, env);
  out = clipboard_insertion_macro_execute(out, env);
  return cursor_insertion_macro_execute(out);
}

}  // namespace tolvan
