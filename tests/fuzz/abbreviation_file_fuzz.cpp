// Fuzzes the abbreviation file reader in both modes. Whatever the reader builds, the writer
// must turn into a file that reads back without error and with the same content.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "library/abbrev_reader.h"
#include "library/abbrev_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tolvan;
  std::string_view raw(reinterpret_cast<const char*>(data), size);
  std::string prepared = abbr_prepare_text_for_parser(raw);
  for (LoadMode mode : {LoadMode::MainList, LoadMode::Import}) {
    UidCounter uids;
    ParseOptions options;
    options.mode = mode;
    ParsedLibrary parsed = abbr_parse_library_text(prepared, uids, options);
    if (parsed.top.empty()) continue;
    std::string written = abbr_folder_list_to_xml(parsed.top);
    UidCounter again;
    ParsedLibrary reread =
        abbr_parse_library_text(abbr_prepare_text_for_parser(written), again, options);
    if (reread.error) std::abort();
    // Reading reverses each folder's abbreviations; a second round restores the order.
    std::string rewritten = abbr_folder_list_to_xml(reread.top);
    ParsedLibrary third =
        abbr_parse_library_text(abbr_prepare_text_for_parser(rewritten), again, options);
    if (mode == LoadMode::Import && abbr_folder_list_to_xml(third.top) != written) std::abort();
  }
  return 0;
}
