#include "import/te_import.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <utility>

#include "import/te_dictionaries.h"
#include "import/te_modes.h"
#include "import/te_verify.h"
#include "library/abbrev_strings.h"
#include "textexpander/plist_reader.h"
#include "textexpander/plist_values.h"
#include "textexpander/te_uuid.h"

namespace tolvan {
namespace {

constexpr std::string_view kObjectReplacement = "\xEF\xBF\xBC";
constexpr size_t kDescriptionLength = 32;  // characters taken from the expansion

enum LauncherKind { kSnippet = 0, kProgram = 1, kWebsite = 2 };

// Hands out uuids that nothing else holds: the file's own where it is free and well
// formed, else a new one. Two snippets sharing a uuid both survive this way.
class UuidClaims {
 public:
  explicit UuidClaims(std::set<std::string> taken) : taken_(std::move(taken)) {}

  std::string claim(std::string_view original) {
    if (te_uuid_is_well_formed(original) && taken_.insert(te_uuid_key(original)).second) {
      return std::string(original);
    }
    for (;;) {
      std::string fresh = te_uuid_generate();
      if (taken_.insert(fresh).second) return fresh;
    }
  }

 private:
  std::set<std::string> taken_;
};

void collect_uuids(const Folder& folder, TeUuidsInUse& out) {
  if (folder.te_general) {
    if (const std::string* uuid = te_string_of(*folder.te_general, "uuidString")) {
      out.groups.insert(te_uuid_key(*uuid));
    }
  }
  for (const auto& abbrev : folder.abbreviations) {
    if (!abbrev->te_general) continue;
    if (const std::string* uuid = te_string_of(*abbrev->te_general, "uuidString")) {
      out.snippets.insert(te_uuid_key(*uuid));
    }
  }
  for (const auto& sub : folder.subfolders) collect_uuids(*sub, out);
}

std::string with_line_feeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
    } else {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  return out;
}

// The first 32 characters, "..." when there are more, cut at the first line break.
std::string description_from(std::string_view expansion) {
  size_t end = 0;
  size_t characters = 0;
  while (end < expansion.size() && characters < kDescriptionLength) {
    ++end;
    while (end < expansion.size() && (static_cast<unsigned char>(expansion[end]) & 0xC0) == 0x80) {
      ++end;
    }
    ++characters;
  }
  std::string out(expansion.substr(0, end));
  if (end < expansion.size()) out += "...";
  size_t line_break = out.find('\n');
  if (line_break != std::string::npos) out.erase(line_break);
  return out;
}

std::string without_object_replacements(std::string text) {
  for (size_t at = text.find(kObjectReplacement); at != std::string::npos;
       at = text.find(kObjectReplacement, at)) {
    text.erase(at, kObjectReplacement.size());
  }
  return text;
}

std::string string_or_empty(const KvList& dict, std::string_view key) {
  const std::string* s = te_string_of(dict, key);
  return s ? *s : std::string();
}

AbbrTime date_or(const KvList& dict, std::string_view key, const AbbrTime& fallback) {
  const KvValue* value = kvlist_lookup_value_type(dict, key, KV_DATE);
  return value && value->date() ? *value->date() : fallback;
}

AbbrType abbreviation_type(const KvList& snippet, LauncherKind launcher) {
  if (launcher == kProgram) return ABBR_TYPE_PROGRAM;
  if (launcher == kWebsite) return ABBR_TYPE_WEBSITE;
  return te_get_real_snippet_type(snippet) == 0 ? ABBR_TYPE_TEXT : ABBR_TYPE_UNSUPPORTED;
}

// te_snippet_kv_to_abbrev. `product` is the snippet's tolvanSpecificAbbrev dictionary. Only
// where it says so did Tolvan join alternatives with "|"; in TextExpander's own files "|"
// is part of the one abbreviation.
std::unique_ptr<Abbreviation> snippet_to_abbrev(const KvList& snippet, const KvList* product,
                                                LauncherKind launcher, bool anywhere,
                                                const std::string& uuid,
                                                const TeImportOptions& options) {
  auto abbrev = std::make_unique<Abbreviation>();
  abbrev->set_type(abbreviation_type(snippet, launcher));
  if (const std::string* typed = te_string_of(snippet, "abbreviation"); typed && !typed->empty()) {
    abbrev->abbreviations = product && te_alternatives_joined(*product)
                                ? abbr_get_lst_of_abbrevs_from_string(*typed)
                                : std::vector<std::string>{*typed};
  }
  const std::string text = with_line_feeds(string_or_empty(snippet, "plainText"));
  switch (abbrev->type()) {
    case ABBR_TYPE_TEXT: abbrev->expansion() = text; break;
    case ABBR_TYPE_PROGRAM: {
      ProgInfo& p = abbrev->program();
      p.location = string_or_empty(snippet, "progExePath");
      p.parameters = string_or_empty(snippet, "progParams");
      p.run_in = string_or_empty(snippet, "progRunIn");
      p.show_mode = static_cast<uint8_t>(te_integer_of(snippet, "progShowMode").value_or(0));
      p.run_as_admin = static_cast<uint8_t>(te_integer_of(snippet, "progRunAsAdmin").value_or(0));
      break;
    }
    case ABBR_TYPE_WEBSITE:
      abbrev->website().address = string_or_empty(snippet, "webURL");
      abbrev->website().browser = string_or_empty(snippet, "webBrowser");
      break;
    case ABBR_TYPE_UNSUPPORTED: break;
  }
  const std::string label = string_or_empty(snippet, "label");
  abbrev->description = launcher != kSnippet || !label.empty() ? label : description_from(text);
  if (abbrev->type() == ABBR_TYPE_UNSUPPORTED) {
    abbrev->description = without_object_replacements(std::move(abbrev->description));
  }
  abbrev->anywhere = anywhere ? 1 : 0;
  std::optional<int32_t> case_mode = te_integer_of(snippet, "abbreviationMode");
  abbrev->case_mode = case_mode ? te_abbrev_mode_to_case_mode(*case_mode, options.defaults)
                                : options.defaults.case_mode;
  std::optional<int32_t> trigger = product ? te_integer_of(*product, "triggerMode") : std::nullopt;
  abbrev->trigger_mode = trigger ? te_expansion_mode_to_trigger_mode(*trigger, options.defaults)
                                 : options.defaults.trigger_mode;
  abbrev->created = date_or(snippet, "creationDate", options.now);
  abbrev->modified = date_or(snippet, "modificationDate", options.now);
  abbr_repair_modes(*abbrev, options.defaults);

  abbrev->te_general = snippet;
  kvlist_set_value(*abbrev->te_general, "uuidString", KvValue::of_string(uuid));
  if (product) {
    abbrev->te_abbrev_specific = *product;
    kvlist_set_value(*abbrev->te_abbrev_specific, "uuidString", KvValue::of_string(uuid));
  } else {
    abbrev->te_abbrev_specific = te_abbrev_specific_kvlist(*abbrev, uuid);
  }
  return abbrev;
}

std::vector<KvList> take_dicts(KvList& dict, std::string_view key) {
  std::optional<KvElement> element = kvlist_remove_by_key(dict, key);
  if (!element || element->value.type() != KV_DICT_ARRAY) return {};
  return std::move(*element->value.dicts());
}

const std::vector<KvList>* dicts_of(const KvList& dict, std::string_view key) {
  const KvValue* value = kvlist_lookup_value_type(dict, key, KV_DICT_ARRAY);
  return value ? value->dicts() : nullptr;
}

// The dictionaries of an array by their uuid (the first of each).
std::map<std::string, const KvList*> by_uuid(const std::vector<KvList>* dicts) {
  std::map<std::string, const KvList*> out;
  if (!dicts) return out;
  for (const KvList& dict : *dicts) {
    if (const std::string* uuid = te_string_of(dict, "uuidString")) {
      out.emplace(te_uuid_key(*uuid), &dict);
    }
  }
  return out;
}

KvList* snippet_uuids_of(KvList& group) {
  KvValue* uuids = kvlist_lookup_value_type(group, "snippetUUIDs", KV_VALUE_ARRAY);
  return uuids ? uuids->list() : nullptr;
}

// te_merge_tolvan_launcher_groups_into_groupsTE2.
void merge_launcher_groups(std::vector<KvList>& groups, const std::vector<KvList>* launcher_groups) {
  if (!launcher_groups) return;
  for (const KvList& launcher_group : *launcher_groups) {
    const std::string* uuid = te_string_of(launcher_group, "uuidString");
    auto same = std::find_if(groups.begin(), groups.end(), [&](const KvList& g) {
      const std::string* other = te_string_of(g, "uuidString");
      return uuid && other && te_uuid_key(*uuid) == te_uuid_key(*other);
    });
    if (same == groups.end()) {
      groups.push_back(launcher_group);
      continue;
    }
    if (!snippet_uuids_of(*same)) kvlist_set_value(*same, "snippetUUIDs", KvValue::of_values({}));
    KvList& listed = *snippet_uuids_of(*same);
    const KvValue* adding = kvlist_lookup_value_type(launcher_group, "snippetUUIDs", KV_VALUE_ARRAY);
    if (!adding) continue;
    for (const KvElement& e : *adding->list()) {
      if (e.value.string() && !kvlist_lookup_by_string_value(listed, *e.value.string())) {
        kvlist_append(listed, "", e.value, true);
      }
    }
  }
}

struct Placed {
  size_t position;  // in the group's snippetUUIDs
  std::unique_ptr<Abbreviation> abbrev;
};

struct SnippetSource {
  std::vector<KvList> dicts;
  LauncherKind kind;
};

Result<TeImport> settings_file_to_import(KvList top, const TeImportOptions& options) {
  TeImport out;
  std::vector<KvList> groups = take_dicts(top, "groupsTE2");
  SnippetSource sources[3] = {{take_dicts(top, "snippetsTE2"), kSnippet}, {{}, kProgram},
                              {{}, kWebsite}};
  KvList tolvan;
  if (std::optional<KvElement> product = kvlist_remove_by_key(top, "Tolvan");
      product && product->value.type() == KV_DICT) {
    tolvan = std::move(*product->value.list());
  }
  merge_launcher_groups(groups, dicts_of(tolvan, "launcherGroups"));
  sources[1].dicts = take_dicts(tolvan, "progLaunchers");
  sources[2].dicts = take_dicts(tolvan, "webLaunchers");
  const auto abbrev_specific = by_uuid(dicts_of(tolvan, "tolvanSpecificAbbrev"));
  const auto folder_specific = by_uuid(dicts_of(tolvan, "tolvanSpecificFolder"));

  // The groups as folders; which groups list which snippet, and where.
  UuidClaims group_uuids(options.existing.groups);
  std::map<std::string, std::vector<std::pair<size_t, size_t>>> listed;  // -> (group, position)
  std::vector<bool> anywhere;
  for (KvList& group : groups) {
    const size_t index = out.folders.size();
    const std::string original = string_or_empty(group, "uuidString");
    const std::string uuid = group_uuids.claim(original);
    if (uuid != original) kvlist_set_value(group, "uuidString", KvValue::of_string(uuid));
    if (KvList* uuids = snippet_uuids_of(group)) {
      size_t position = 0;
      for (const KvElement& e : *uuids) {
        if (!e.value.string()) continue;
        auto& where = listed[te_uuid_key(*e.value.string())];
        if (std::none_of(where.begin(), where.end(), [&](auto& w) { return w.first == index; })) {
          where.emplace_back(index, position);
        }
        ++position;
      }
    }
    anywhere.push_back(te_integer_of(group, "expandAfterMode").value_or(0) >= 2);
    auto folder = std::make_unique<Folder>();
    folder->te_group = 1;
    folder->name = string_or_empty(group, "name");
    if (auto found = folder_specific.find(te_uuid_key(original)); found != folder_specific.end()) {
      const KvList& specific = *found->second;
      folder->disabled = te_integer_of(specific, "disabled").value_or(0) != 0;
      folder->menu_hotkey_enabled = te_integer_of(specific, "acmHotkeyEnable").value_or(0) != 0;
      if (const std::string* hotkey = te_string_of(specific, "acmHotkey")) folder->menu_hotkey = *hotkey;
      folder->te_folder_specific = specific;
      kvlist_set_value(*folder->te_folder_specific, "uuidString", KvValue::of_string(uuid));
    }
    folder->te_general = std::move(group);
    out.folders.push_back(std::move(folder));
  }

  // Every snippet, once for each group that lists it; a snippet no group lists is kept
  // loose. Each abbreviation made gets a uuid of its own.
  UuidClaims snippet_uuids(options.existing.snippets);
  std::vector<std::vector<Placed>> placed(out.folders.size());
  for (SnippetSource& source : sources) {
    for (const KvList& snippet : source.dicts) {
      const std::string original = string_or_empty(snippet, "uuidString");
      const std::string key = te_uuid_key(original);
      auto specific = abbrev_specific.find(key);
      const KvList* product = specific == abbrev_specific.end() ? nullptr : specific->second;
      LauncherKind kind = source.kind;
      if (kind == kSnippet && !te_string_of(snippet, "plainText")) {
        if (te_string_of(snippet, "progExePath")) kind = kProgram;
        else if (te_string_of(snippet, "webURL")) kind = kWebsite;
      }
      auto groups_listing = original.empty() ? listed.end() : listed.find(key);
      if (groups_listing == listed.end()) {
        out.loose.push_back(snippet_to_abbrev(snippet, product, kind, false,
                                              snippet_uuids.claim(original), options));
        continue;
      }
      for (const auto& [group, position] : groups_listing->second) {
        placed[group].push_back({position, snippet_to_abbrev(snippet, product, kind, anywhere[group],
                                                             snippet_uuids.claim(original), options)});
      }
    }
  }
  for (size_t i = 0; i < out.folders.size(); ++i) {
    std::stable_sort(placed[i].begin(), placed[i].end(),
                     [](const Placed& a, const Placed& b) { return a.position < b.position; });
    for (Placed& p : placed[i]) {
      p.abbrev->folder = out.folders[i].get();
      out.folders[i]->abbreviations.push_back(std::move(p.abbrev));
    }
  }
  out.settings = std::move(top);
  return out;
}

Result<TeImport> group_file_to_import(KvList top, const TeImportOptions& options) {
  TeImport out;
  out.group_file = true;
  auto folder = std::make_unique<Folder>();
  folder->te_group = 1;
  bool anywhere = false;
  if (const KvValue* info = kvlist_lookup_value_type(top, "groupInfo", KV_DICT)) {
    const std::string* name = te_string_of(*info->list(), "groupName");
    if (!name) return Error{"No snippet groups found."};
    folder->name = *name;
    anywhere = te_integer_of(*info->list(), "expandAfterMode").value_or(0) >= 2;
  } else {
    folder->name = options.file_name;
  }
  if (!kvlist_lookup_value_type(top, "snippetsTE2", KV_DICT_ARRAY)) {
    return Error{"No snippets found."};
  }
  UuidClaims snippet_uuids(options.existing.snippets);
  for (const KvList& snippet : take_dicts(top, "snippetsTE2")) {
    auto abbrev = snippet_to_abbrev(snippet, nullptr, kSnippet, anywhere,
                                    snippet_uuids.claim(string_or_empty(snippet, "uuidString")),
                                    options);
    abbrev->folder = folder.get();
    folder->abbreviations.push_back(std::move(abbrev));
  }
  folder->te_group_settings = std::move(top);
  // The group a settings file would hold, so that the group's order and identity are
  // remembered as they are for groups of a settings file.
  KvList group;
  kvlist_append(group, "uuidString",
                KvValue::of_string(UuidClaims(options.existing.groups).claim("")));
  kvlist_append(group, "name", KvValue::of_string(folder->name));
  KvList members;
  for (const auto& abbrev : folder->abbreviations) {
    kvlist_append(members, "", *kvlist_lookup_value(*abbrev->te_general, "uuidString"), true);
  }
  kvlist_append(group, "snippetUUIDs", KvValue::of_values(std::move(members)));
  kvlist_append(group, "writable", KvValue::of_integer(1));
  folder->te_general = std::move(group);
  out.folders.push_back(std::move(folder));
  return out;
}

}  // namespace

const char* const kTeSupportAddress = "support@tolvan.org";
const std::string kTeNoSnippetsMessage =
    std::string("No snippets found in TextExpander snippet file.\n\nIf you feel this is in "
                "error, please contact us via the Help menu, or send an e-mail to ") +
    kTeSupportAddress;

const char* te_import_stage_text(TeImportStage stage) {
  switch (stage) {
    case TeImportStage::Loading: return "Loading TextExpander Data...";
    case TeImportStage::Verifying: return "Verifying TextExpander Data...";
    default: return "Importing TextExpander Snippets...";
  }
}

TeUuidsInUse te_get_all_existing_uuids(const FolderList& list) {
  TeUuidsInUse out;
  for (const auto& folder : list) collect_uuids(*folder, out);
  return out;
}

size_t TeImport::abbreviation_count() const {
  size_t n = loose.size();
  for (const auto& folder : folders) n += folder->abbreviations.size();
  return n;
}

Result<TeImport> te_import_snippet_file_data(std::string_view data,
                                             const TeImportOptions& options) {
  auto report = [&](TeImportStage stage) {
    if (options.progress) options.progress(stage);
  };
  report(TeImportStage::Loading);
  Result<KvList> parsed = te_importer_handle_snippet_file_data(data, true);
  Result<TeImport> result = Error{""};
  if (!parsed) {
    result = Error{parsed.error()};
  } else {
    report(TeImportStage::Verifying);
    KvList& top = *parsed;
    if (Status verified = te_verify_textexpander_data(top); !verified) {
      result = Error{verified.error()};
    } else {
      report(TeImportStage::Importing);
      te_kvlist_convert_strings_to_data(top, options.now);
      const bool settings_file =
          kvlist_get_from_key(top, "groupsTE2") && kvlist_get_from_key(top, "Snippets Imported");
      result = settings_file ? settings_file_to_import(std::move(top), options)
                             : group_file_to_import(std::move(top), options);
    }
  }
  report(TeImportStage::Done);
  return result;
}

TeFileImport te_import_snippet_file(const std::string& path, TeImportOptions options) {
  TeFileImport out;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    const int error = errno;
    out.result = error == ENOENT || error == ENOTDIR ? TeImportResult::Missing
                                                      : TeImportResult::Failed;
    out.message = "Unable to open TextExpander snippet file " + path +
                  " for reading: " + std::strerror(error);
    return out;
  }
  std::string data;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.append(buffer, n);
  const bool read_error = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (read_error) {
    out.message = "Error reading snippet file " + path + ": " + std::strerror(error);
    return out;
  }
  if (data.empty()) {
    out.result = TeImportResult::Empty;
    out.message = kTeNoSnippetsMessage;
    return out;
  }
  options.file_name = te_import_file_stem(path);
  Result<TeImport> imported = te_import_snippet_file_data(data, options);
  if (!imported) {
    out.message = imported.error();
    return out;
  }
  out.result = TeImportResult::Imported;
  out.import = std::move(*imported);
  return out;
}

std::string te_import_error_message(const std::string& path, const std::string& reason) {
  return "Error importing TextExpander snippet file " + path + ": " + reason +
         "\n\nNot sure why you're receiving this message? Contact us from the help menu or "
         "send an e-mail to " + kTeSupportAddress + " and we'll help.";
}

std::string te_import_file_stem(std::string_view path) {
  size_t slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace tolvan
