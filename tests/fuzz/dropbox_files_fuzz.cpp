// Feeds arbitrary bytes to the readers of the Dropbox client's info.json and host.db.
// Whatever folder they find must be a plain absolute path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "import/dropbox_folder.h"

namespace {

void check(const std::optional<std::string>& path) {
  if (!path) return;
  if (path->empty() || (*path)[0] != '/') std::abort();
  for (unsigned char c : *path) {
    if (c < 0x20) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  check(tolvan::dropbox_folder_from_info_json(text));
  check(tolvan::dropbox_folder_from_host_db(text));
  return 0;
}
