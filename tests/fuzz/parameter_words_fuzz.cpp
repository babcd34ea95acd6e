// Launcher parameters come from library files and other people's exports: splitting them
// never crashes, and every word it answers is a piece of the input with its quoting
// removed, so no word is longer than the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "launch/parameter_words.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto words = tolvan::launcher_split_parameters(text);
  if (!words) {
    if (words.error().empty()) std::abort();
    return 0;
  }
  size_t total = 0;
  for (const std::string& word : *words) total += word.size();
  if (total > size) std::abort();
  return 0;
}
