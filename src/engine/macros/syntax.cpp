// Shared rules of the macro syntax.
#include "engine/macros/syntax.h"

#include "core/strings.h"

namespace tolvan {

bool macro_percent_escaped(std::string_view text, size_t pos) {
  size_t run = 0;
  while (run < pos && text[pos - 1 - run] == '%') ++run;
  return run % 2 == 1;
}

bool macro_is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool macro_is_digit(char c) { return c >= '0' && c <= '9'; }

bool macro_has_prefix_at(std::string_view text, size_t pos, std::string_view prefix) {
  return pos <= text.size() && text.size() - pos >= prefix.size() &&
         equals_ignore_case(text.substr(pos, prefix.size()), prefix);
}

std::string macro_escaped_form(std::string_view macro) {
  std::string escaped(1, '%');
  escaped.append(macro);
  return escaped;
}

}  // namespace tolvan
