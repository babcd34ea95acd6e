// Recognising typing-time macros and planning their effect.
#include "engine/macros/typing_macros.h"

#include <array>
#include <climits>

#include "core/strings.h"
#include "core/utf.h"
#include "engine/macros/delay.h"
#include "engine/macros/syntax.h"

namespace tolvan {
namespace {

constexpr std::array<std::string_view, 7> kTypingPrefixes = {
    "%(Key", "%(KeyDown", "%(KeyUp", "%(Delay", "%(Input", "%(Abbreviation", "%(Abbrev"};
constexpr std::string_view kInputPrefix = "%(Input";

// The C library's atoi, saturating instead of overflowing.
int atoi_saturating(std::string_view s) {
  size_t p = 0;
  while (p < s.size() && macro_is_space(s[p])) ++p;
  bool negative = false;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) negative = s[p++] == '-';
  long long v = 0;
  for (; p < s.size() && macro_is_digit(s[p]); ++p) v = std::min<long long>(INT_MAX, v * 10 + (s[p] - '0'));
  return static_cast<int>(negative ? -v : v);
}

bool starts_with_ignore_case(std::string_view s, std::string_view prefix) {
  return macro_has_prefix_at(s, 0, prefix);
}

}  // namespace

std::optional<ParsedTypingMacro> keysim_parse_valid_macro(std::string_view text) {
  std::string_view prefix;
  for (std::string_view candidate : kTypingPrefixes) {
    if (macro_has_prefix_at(text, 0, candidate)) {
      prefix = candidate;
      break;
    }
  }
  if (prefix.empty()) return std::nullopt;

  size_t name_end = 2;
  while (name_end < text.size() && !macro_is_space(text[name_end]) && text[name_end] != ')') {
    ++name_end;
  }
  if (name_end >= text.size()) return std::nullopt;

  size_t args_start;
  if (text[name_end] == ')') {
    if (prefix != kInputPrefix) return std::nullopt;
    args_start = name_end;
  } else {
    args_start = name_end + 1;  // past the whitespace after the name
    if (prefix != kInputPrefix && (args_start >= text.size() || text[args_start] == ')')) {
      return std::nullopt;
    }
  }
  size_t close = text.find(')', args_start);
  if (close == std::string_view::npos) return std::nullopt;

  ParsedTypingMacro macro;
  macro.name = std::string(text.substr(2, name_end - 2));
  macro.arguments = std::string(text.substr(args_start, close - args_start));
  macro.length_bytes = close + 1;
  macro.length_chars = utf8_length(text.substr(0, macro.length_bytes));
  return macro;
}

TypingMacroStep keysim_plan_macro(std::string_view text, size_t pos, const KeyLayoutLookup& layout) {
  TypingMacroStep step;
  if (pos >= text.size() || text[pos] != '%') return step;
  if (macro_percent_escaped(text, pos)) {
    step.kind = TypingMacroKind::kEscapedPercent;
    return step;
  }
  std::optional<ParsedTypingMacro> macro = keysim_parse_valid_macro(text.substr(pos));
  if (!macro) return step;

  const std::string& name = macro->name;
  if (starts_with_ignore_case(name, "Key")) {
    KeyActionKind action;
    if (equals_ignore_case(name, "KeyDown")) {
      action = KeyActionKind::kPress;
    } else if (equals_ignore_case(name, "KeyUp")) {
      action = KeyActionKind::kRelease;
    } else if (equals_ignore_case(name, "Key")) {
      action = KeyActionKind::kPressAndRelease;
    } else {
      return step;
    }
    std::vector<std::string> words = strsplit(macro->arguments, " ");
    if (words.empty()) return step;
    int count = words.size() > 1 ? atoi_saturating(words[1]) : 1;
    step.kind = TypingMacroKind::kKeys;
    step.keys = key_name_to_vks_and_actions(words[0], action, count, layout);
  } else if (equals_ignore_case(name, "Delay")) {
    step.kind = TypingMacroKind::kDelay;
    step.delay_ms = delay_macro_get_ms(macro->arguments);
  } else if (equals_ignore_case(name, "Input")) {
    step.kind = TypingMacroKind::kInput;
    step.input_default = macro->arguments;
  } else {
    step.kind = TypingMacroKind::kIgnored;
  }
  step.length_bytes = macro->length_bytes;
  step.length_chars = macro->length_chars;
  return step;
}

}  // namespace tolvan
