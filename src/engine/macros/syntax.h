// The small rules every macro family shares: where a macro's "%" is escaped, what counts
// as whitespace and digits, and case-insensitive prefixes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvan {

// True when the byte at `pos` is preceded by an odd run of "%" characters: such a "%" does
// not start a macro (the run's "%" characters escape one another in pairs).
bool macro_percent_escaped(std::string_view text, size_t pos);

// The C library's space class (space, tab, newline, vertical tab, form feed, return).
bool macro_is_space(char c);
bool macro_is_digit(char c);

// True when `text` at `pos` starts with `prefix`, ignoring ASCII case.
bool macro_has_prefix_at(std::string_view text, size_t pos, std::string_view prefix);

// The escaped spelling of a macro or code: one more "%" in front.
std::string macro_escaped_form(std::string_view macro);

}  // namespace tolvan
