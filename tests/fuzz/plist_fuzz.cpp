// Feeds arbitrary bytes to the property-list reader, as a document and as an embedded
// dictionary. Whatever it accepts must write out and read back to the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "textexpander/plist_reader.h"
#include "textexpander/plist_values.h"
#include "textexpander/plist_writer.h"

namespace {

const tolvan::AbbrTime kNow{1, 2, 2003, 4, 5, 6};

void check_round_trip(std::string_view text, bool header) {
  auto list = tolvan::te_importer_handle_snippet_file_data(text, header);
  if (!list.ok()) return;
  tolvan::te_kvlist_convert_strings_to_data(*list, kNow);
  auto again = tolvan::te_importer_handle_snippet_file_data(
      tolvan::te_kvlist_to_plist_document(*list), true);
  if (!again.ok()) std::abort();
  tolvan::te_kvlist_convert_strings_to_data(*again, kNow);
  if (!(*again == *list)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  check_round_trip(text, true);
  check_round_trip(text, false);
  return 0;
}
