#include "launch/parameter_words.h"

#include <glib.h>

namespace tolvan {

Result<std::vector<std::string>> launcher_split_parameters(std::string_view parameters) {
  if (parameters.find('\0') != std::string_view::npos) {
    return Error{"The parameters hold a NUL character."};
  }
  const std::string text(parameters);
  int count = 0;
  char** words = nullptr;
  GError* error = nullptr;
  if (!g_shell_parse_argv(text.c_str(), &count, &words, &error)) {
    const bool empty = g_error_matches(error, G_SHELL_ERROR, G_SHELL_ERROR_EMPTY_STRING);
    g_error_free(error);
    if (empty) return std::vector<std::string>{};
    // What is left: an unclosed quotation or a trailing backslash.
    return Error{"The parameters \"" + text +
                 "\" end inside a quotation or after a backslash; close the quotation or "
                 "remove the backslash."};
  }
  std::vector<std::string> result(words, words + count);
  g_strfreev(words);
  return result;
}

}  // namespace tolvan
