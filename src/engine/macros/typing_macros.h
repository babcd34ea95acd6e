// Typing-time macros (Key, KeyDown, KeyUp, Delay, Input, Abbreviation): recognising one
// where "%(" starts and deciding what the output thread does there. Sending the keys,
// sleeping and running interactive input is the output thread's part.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/macros/key_names.h"
#include "engine/macros/macro_environment.h"

namespace tolvan {

struct ParsedTypingMacro {
  std::string name;
  std::string arguments;
  size_t length_bytes;  // from "%" to ")" inclusive
  size_t length_chars;
};

// A typing-time macro at the start of `text` (which begins with "%("), or nullopt.
std::optional<ParsedTypingMacro> keysim_parse_valid_macro(std::string_view text);

enum class TypingMacroKind {
  kNotAMacro,       // type the "%" as text
  kEscapedPercent,  // drop this "%", type on from the "(" after it
  kKeys,            // send `keys`
  kDelay,           // pause `delay_ms`
  kInput,           // interactive input with `input_default`
  kIgnored,         // Abbreviation and the like: removed, nothing typed
};

struct TypingMacroStep {
  TypingMacroKind kind = TypingMacroKind::kNotAMacro;
  size_t length_bytes = 0;  // bytes the macro uses (0 unless it is one)
  size_t length_chars = 0;
  KeyActionGroup keys{0, {}};
  std::int64_t delay_ms = 0;
  std::string input_default;
};

// What the macro at byte `pos` of `text` asks for; the output thread carries it out.
TypingMacroStep keysim_plan_macro(std::string_view text, size_t pos, const KeyLayoutLookup& layout);

}  // namespace tolvan
