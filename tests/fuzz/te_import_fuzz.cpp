// Feeds arbitrary bytes to the TextExpander import. Whatever it imports must export as a
// settings file (or group file) that imports again with no more abbreviations, and every
// uuid it gave must be well formed and unique.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

#include "import/te_export.h"
#include "import/te_import.h"
#include "import/te_import_library.h"
#include "textexpander/te_uuid.h"

namespace {

const tolvan::AbbrTime kNow{1, 2, 2003, 4, 5, 6};

void check_uuids(const tolvan::Folder& folder, std::set<std::string>& seen) {
  for (const auto& abbrev : folder.abbreviations) {
    const tolvan::KvValue* uuid = tolvan::kvlist_lookup_value(*abbrev->te_general, "uuidString");
    if (!uuid || !uuid->string() || !tolvan::te_uuid_is_well_formed(*uuid->string()) ||
        !seen.insert(tolvan::te_uuid_key(*uuid->string())).second) {
      std::abort();
    }
  }
  for (const auto& sub : folder.subfolders) check_uuids(*sub, seen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tolvan;
  TeImportOptions options;
  options.now = kNow;
  options.file_name = "Fuzz";
  auto imported = te_import_snippet_file_data(
      std::string_view(reinterpret_cast<const char*>(data), size), options);
  if (!imported.ok()) return 0;
  const bool group_file = imported->group_file;
  const size_t count = imported->abbreviation_count();
  Library library;
  te_add_import_to_library(library, MAIN_LIST, std::move(*imported), ImportMode::Replace);
  Folder* root = library.main_list.front().get();
  std::set<std::string> seen;
  check_uuids(*root, seen);

  TeExportOptions export_options;
  export_options.now = kNow;
  auto text = group_file ? te_group_file_text(root->subfolders.front().get(), export_options)
                         : te_settings_file_text(root, TePreferences{}, export_options);
  if (!text.ok()) std::abort();
  auto again = te_import_snippet_file_data(*text, options);
  if (!again.ok()) std::abort();
  // Launchers outside any group, and any in a group file, are left out; nothing is added.
  if (again->abbreviation_count() > count) std::abort();
  return 0;
}
