#include "import/te_import_library.h"

#include "import/te_dictionaries.h"
#include "import/te_modes.h"
#include "library/folder_tree.h"

namespace tolvan {

std::string te_import_report(const TeImportCounts& counts) {
  if (counts.snippets == 0 && counts.groups == 0) return kTeNoSnippetsMessage;
  return std::string(counts.snippets > 0 ? "Successfully i" : "I") + "mported " +
         std::to_string(counts.snippets) + " snippet" + (counts.snippets == 1 ? "" : "s") +
         " from " + std::to_string(counts.groups) + " group" + (counts.groups == 1 ? "" : "s") +
         ".";
}

TeImportCounts te_add_import_to_library(Library& library, ListIndex index, TeImport import,
                                        ImportMode mode,
                                        const std::function<void(Folder&)>& added) {
  TeImportCounts counts;
  if (mode == ImportMode::Cancel) return counts;
  FolderList& list = library.list(index);
  if (mode == ImportMode::Replace) abbr_free_folder_list(library, index);
  Folder& top = abbr_ensure_absolute_parent(list, library.uids);
  if (import.settings) {
    KvList settings = std::move(*import.settings);
    // Snippets set aside by an earlier import stay with the library.
    if (top.te_general && mode == ImportMode::Append) {
      if (const KvValue* kept = kvlist_lookup_value_type(*top.te_general, "snippetsTE2", KV_DICT_ARRAY)) {
        kvlist_set_value(settings, "snippetsTE2", *kept);
      }
    }
    top.te_general = std::move(settings);
  }
  for (auto& abbrev : import.loose) {  // in file order, as in the folders
    abbrev->folder = &top;
    top.abbreviations.push_back(std::move(abbrev));
    ++counts.snippets;
  }
  for (auto& folder : import.folders) {
    folder->uid = library.uids.take();
    counts.snippets += folder->abbreviations.size();
    ++counts.groups;
    Folder& joined = abbr_add_subfolder_to_folder(top, std::move(folder));
    if (added) added(joined);
  }
  return counts;
}

void te_take_over_preferences(Settings& prefs, const KvList& settings) {
  const ModeDefaults current{prefs.get_int("default_case_mode"), prefs.get_int("default_trigger_mode")};
  if (std::optional<int32_t> mode = te_integer_of(settings, "Default Abbreviation Mode")) {
    prefs.set_int("default_case_mode", te_abbrev_mode_to_case_mode(*mode, current));
  }
  if (std::optional<int32_t> mode = te_integer_of(settings, "Expander Mode")) {
    prefs.set_int("default_trigger_mode", te_expansion_mode_to_trigger_mode(*mode, current));
  }
  if (const std::string* delimiters = te_string_of(settings, "Delimiters")) {
    prefs.set("delim_chars", *delimiters);
  }
  const KvValue* sound = kvlist_lookup_value(settings, "Auditory Feedback");
  if (sound && (sound->type() == KV_TRUE || sound->type() == KV_FALSE)) {
    prefs.set_int("play_sound", sound->type() == KV_TRUE ? 1 : 0);
  }
}

}  // namespace tolvan
