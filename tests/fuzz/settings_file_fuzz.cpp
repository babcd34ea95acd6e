// Feeds arbitrary bytes to the settings-file reader. An accepted file must serialize and read
// back to the same list, so the writer and the reader stay each other's inverse.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  tolvan::Settings parsed;
  if (!tolvan::settings_parse(text, parsed).ok()) return 0;
  tolvan::Settings again;
  if (!tolvan::settings_parse(tolvan::settings_serialize(parsed), again).ok()) std::abort();
  if (!(again == parsed)) std::abort();
  return 0;
}
