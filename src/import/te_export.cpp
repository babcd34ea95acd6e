#include "import/te_export.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "core/strings.h"
#include "import/te_dictionaries.h"
#include "import/te_modes.h"
#include "library/abbrev_strings.h"
#include "library/flattening.h"
#include "library/folder_tree.h"
#include "library/lookups.h"
#include "settings/prefs.h"
#include "textexpander/plist_writer.h"
#include "textexpander/te_uuid.h"

namespace tolvan {
namespace {

constexpr const char* kFolderIsBlank = "Folder is blank.";

std::string identity(std::string_view text) { return std::string(text); }

const std::string* uuid_of(const std::optional<KvList>& dict) {
  if (!dict) return nullptr;
  const std::string* uuid = te_string_of(*dict, "uuidString");
  return uuid && !uuid->empty() ? uuid : nullptr;
}

KvList& te_group_snippet_uuids(KvList& group) {
  KvValue* uuids = kvlist_lookup_value_type(group, "snippetUUIDs", KV_VALUE_ARRAY);
  if (!uuids) {
    kvlist_set_value(group, "snippetUUIDs", KvValue::of_values({}));
    uuids = kvlist_lookup_value_type(group, "snippetUUIDs", KV_VALUE_ARRAY);
  }
  return *uuids->list();
}

// Whether the abbreviation is listed in its folder's group: the absolute parent's general
// dictionary holds TextExpander's preferences, not a group.
bool listed_in_group(const Abbreviation& abbrev) {
  return abbrev.folder && abbrev.folder->parent && abbrev.folder->te_general;
}

// The abbreviation's missing dictionaries; answers the uuid its group lists it under (the
// general dictionary's, else the abbreviation-specific one's, else the new one).
std::string build_abbrev_dicts(Abbreviation& abbrev, bool general, bool specific,
                               const TeExportOptions& options) {
  std::string fresh;  // the call's one new uuid, made only where it is used
  auto fresh_uuid = [&]() -> const std::string& {
    if (fresh.empty()) fresh = te_uuid_generate();
    return fresh;
  };
  auto to_te = options.to_te_macros ? options.to_te_macros : identity;
  const bool building_general = general && !abbrev.te_general;
  if (building_general) {
    abbrev.te_general = te_snippet_kvlist(abbrev, fresh_uuid(), options.defaults, to_te);
  }
  if (specific && !abbrev.te_abbrev_specific) {
    const std::string* uuid = uuid_of(abbrev.te_general);
    abbrev.te_abbrev_specific = te_abbrev_specific_kvlist(abbrev, uuid ? *uuid : fresh_uuid());
  }
  if (building_general && abbrev.te_abbrev_specific) {
    te_mark_alternatives_joined(*abbrev.te_abbrev_specific);
  }
  const std::string* uuid = uuid_of(abbrev.te_general);
  if (!uuid) uuid = uuid_of(abbrev.te_abbrev_specific);
  return uuid ? *uuid : fresh_uuid();
}

// Appends the uuid to the "snippetUUIDs" of the abbreviation's group unless it is there.
void list_in_group(const Abbreviation& abbrev, const std::string& uuid) {
  KvList& members = te_group_snippet_uuids(*abbrev.folder->te_general);
  if (!kvlist_lookup_by_string_value(members, uuid)) {
    kvlist_append(members, "", KvValue::of_string(uuid), true);
  }
}

// A group's "snippetUUIDs" while a whole folder is listed: the uuids already there are
// indexed once, so that a group of thousands of snippets is not searched for each of them.
// The list is made when the first uuid goes in, as listing one abbreviation makes it.
class GroupMembers {
 public:
  explicit GroupMembers(KvList& group) : group_(group) {}

  void list(const std::string& uuid) {
    if (!members_) {
      members_ = &te_group_snippet_uuids(group_);
      for (const KvElement& e : *members_) {
        if (const std::string* listed = e.value.string()) keys_.insert(te_uuid_key(*listed));
      }
    }
    if (keys_.insert(te_uuid_key(uuid)).second) {
      kvlist_append(*members_, "", KvValue::of_string(uuid), true);
    }
  }

 private:
  KvList& group_;
  KvList* members_ = nullptr;
  std::unordered_set<std::string> keys_;
};

}  // namespace

void te_folder_modified(Folder& folder) {
  if (folder.te_general) {
    kvlist_set_value(*folder.te_general, "name", KvValue::of_string(folder.name));
  }
  if (folder.te_group_settings) {
    KvValue* info = kvlist_lookup_value_type(*folder.te_group_settings, "groupInfo", KV_DICT);
    if (!info) {
      kvlist_set_value(*folder.te_group_settings, "groupInfo", KvValue::of_dict({}));
      info = kvlist_lookup_value_type(*folder.te_group_settings, "groupInfo", KV_DICT);
    }
    kvlist_set_value(*info->list(), "groupName", KvValue::of_string(folder.name));
  }
  if (folder.te_folder_specific) {
    KvList& specific = *folder.te_folder_specific;
    kvlist_set_value(specific, "disabled", KvValue::of_bool(folder.disabled != 0));
    if (folder.menu_hotkey) {
      kvlist_set_value(specific, "acmHotkey", KvValue::of_string(*folder.menu_hotkey));
      kvlist_set_value(specific, "acmHotkeyEnable",
                       KvValue::of_bool(folder.menu_hotkey_enabled != 0));
    } else {
      kvlist_remove_by_key(specific, "acmHotkey");
      kvlist_remove_by_key(specific, "acmHotkeyEnable");
    }
  }
}

namespace {

// Copies of folders hold their abbreviations in the reverse order; the copy an export
// works on is put back in the library's order.
std::unique_ptr<Folder> export_copy(const Folder& folder) {
  std::unique_ptr<Folder> copy = abbr_duplicate_folder(folder, nullptr);
  std::function<void(Folder&)> restore = [&](Folder& f) {
    std::reverse(f.abbreviations.begin(), f.abbreviations.end());
    for (auto& sub : f.subfolders) restore(*sub);
  };
  restore(*copy);
  return copy;
}

// A group's snippets in the order its "snippetUUIDs" gives them, which TextExpander shows;
// abbreviations it does not list follow in the folder's order.
void order_as_listed(Folder& folder) {
  if (!folder.te_general) return;
  const KvValue* listed = kvlist_lookup_value_type(*folder.te_general, "snippetUUIDs", KV_VALUE_ARRAY);
  if (!listed) return;
  std::unordered_map<std::string, size_t> position;
  size_t n = 0;
  for (const KvElement& e : *listed->list()) {
    if (e.value.string()) position.emplace(te_uuid_key(*e.value.string()), n++);
  }
  std::vector<std::pair<size_t, std::unique_ptr<Abbreviation>>> ranked;
  ranked.reserve(folder.abbreviations.size());
  for (auto& abbrev : folder.abbreviations) {
    const std::string* uuid = uuid_of(abbrev->te_general);
    auto found = uuid ? position.find(te_uuid_key(*uuid)) : position.end();
    ranked.emplace_back(found == position.end() ? n : found->second, std::move(abbrev));
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < ranked.size(); ++i) folder.abbreviations[i] = std::move(ranked[i].second);
}

void build_group(Folder& folder, const TeExportOptions& options) {
  std::optional<GroupMembers> listing;
  if (folder.te_general) listing.emplace(*folder.te_general);
  for (auto& abbrev : folder.abbreviations) {
    const std::string listed = build_abbrev_dicts(*abbrev, true, true, options);
    if (!listed_in_group(*abbrev)) continue;
    if (abbrev->folder == &folder) {
      listing->list(listed);
    } else {
      list_in_group(*abbrev, listed);
    }
  }
  order_as_listed(folder);
  if (!folder.te_general) {
    folder.te_general.emplace();
    kvlist_append(*folder.te_general, "uuidString", KvValue::of_string(te_uuid_generate()));
  }
  KvList& group = *folder.te_general;
  kvlist_set_value(group, "name", KvValue::of_string(folder.name));
  KvList members;
  for (const auto& abbrev : folder.abbreviations) {
    if (const std::string* uuid = uuid_of(abbrev->te_general)) {
      kvlist_append(members, "", KvValue::of_string(*uuid), true);
    }
  }
  kvlist_set_value(group, "snippetUUIDs", KvValue::of_values(std::move(members)));
  kvlist_set_value(group, "writable", KvValue::of_integer(1));
  // The group file's "groupInfo" keeps what TextExpander put there ("expandAfterMode",
  // "notes"); only its name follows the folder.
  if (!folder.te_group_settings) folder.te_group_settings.emplace();
  if (!folder.te_folder_specific) {
    folder.te_folder_specific.emplace();
    kvlist_append(*folder.te_folder_specific, "uuidString", KvValue::of_string(*uuid_of(folder.te_general)));
  }
  te_folder_modified(folder);
}

void append_dicts(std::string& out, std::string_view key, const std::vector<const KvList*>& dicts,
                  int depth) {
  const std::string indent(depth, '\t');
  out += "\n" + indent + "<key>" + std::string(key) + "</key>\n" + indent + "<array>";
  for (const KvList* dict : dicts) te_kvlist_append_xml(out, *dict, false, true, true, depth + 1);
  out += "\n" + indent + "</array>";
}

// What the settings file collects while it walks the library: the dictionaries of the
// copy it works on, written straight from there.
struct SettingsParts {
  std::vector<const KvList*> groups;
  std::vector<const KvList*> snippets;
  std::vector<const KvList*> abbrev_specific;
  std::vector<const KvList*> folder_specific;
  std::vector<const KvList*> programs;
  std::vector<const KvList*> websites;
  std::vector<KvList> launcher_groups;
};

void collect(const Folder& folder, bool is_root, SettingsParts& parts) {
  if (!is_root) {
    if (folder.te_general) parts.groups.push_back(&*folder.te_general);
    if (folder.te_folder_specific) parts.folder_specific.push_back(&*folder.te_folder_specific);
  }
  KvList run;  // the uuids of this folder's launchers
  for (const auto& abbrev : folder.abbreviations) {
    if (abbrev->te_abbrev_specific) parts.abbrev_specific.push_back(&*abbrev->te_abbrev_specific);
    if (!abbrev->te_general) continue;
    if (!abbr_is_launcher(*abbrev)) {
      parts.snippets.push_back(&*abbrev->te_general);
      continue;
    }
    if (is_root) continue;  // a launcher outside any folder has no group to go back to
    (abbrev->type() == ABBR_TYPE_PROGRAM ? parts.programs : parts.websites)
        .push_back(&*abbrev->te_general);
    if (const std::string* uuid = uuid_of(abbrev->te_general)) {
      kvlist_append(run, "", KvValue::of_string(*uuid), true);
    }
  }
  if (!run.empty() && folder.te_general) {
    KvList launcher_group = te_dup_kvlist_all_but(*folder.te_general, "snippetUUIDs");
    kvlist_append(launcher_group, "snippetUUIDs", KvValue::of_values(std::move(run)));
    parts.launcher_groups.push_back(std::move(launcher_group));
  }
  for (const auto& sub : folder.subfolders) collect(*sub, false, parts);
}

// A group file holds one level: the abbreviations of the subfolders join the folder's own.
void gather_into(Folder& target, const Folder& from) {
  for (const auto& sub : from.subfolders) {
    for (const auto& abbrev : sub->abbreviations) {
      auto copy = abbr_duplicate_abbrev(*abbrev, &target);
      target.abbreviations.push_back(std::move(copy));
    }
    gather_into(target, *sub);
  }
}

}  // namespace

TePreferences te_preferences_from(Settings& prefs) {
  TePreferences out;
  out.case_mode = prefs_get_default_case_mode(prefs, ABBR_TYPE_TEXT);
  out.trigger_mode = prefs_get_default_trigger_mode(prefs);
  out.delimiters = prefs.get("delim_chars");
  out.sound = prefs.get_int("play_sound") != 0;
  return out;
}

void te_abbrev_to_kvlist(Abbreviation& abbrev, bool general, bool specific,
                         const TeExportOptions& options) {
  const std::string listed = build_abbrev_dicts(abbrev, general, specific, options);
  if (listed_in_group(abbrev)) list_in_group(abbrev, listed);
}

void te_build_kvlists(Folder& folder, bool root, const TeExportOptions& options) {
  if (!root) {
    build_group(folder, options);
    return;
  }
  for (auto& abbrev : folder.abbreviations) te_abbrev_to_kvlist(*abbrev, true, true, options);
  for (auto& sub : folder.subfolders) build_group(*sub, options);
}

bool te_update_prefs_from_tolvan_prefs(Folder& absolute_parent, const TePreferences& prefs,
                                       bool force) {
  if (!absolute_parent.te_general && !force) return false;
  if (!absolute_parent.te_general) absolute_parent.te_general.emplace();
  KvList& dict = *absolute_parent.te_general;
  bool changed = false;
  auto set = [&](std::string_view key, KvValue value, bool same) {
    if (!same) changed = true;
    kvlist_set_value(dict, key, std::move(value));
  };
  auto integer_is = [&](std::string_view key, int n) {
    return te_integer_of(dict, key) == std::optional<int32_t>(n);
  };
  const int expander = tolvan_trigger_mode_to_te_exp_mode(prefs.trigger_mode);
  const int case_mode = tolvan_case_mode_to_te_abbrev_mode(prefs.case_mode, {prefs.case_mode});
  const std::string* delimiters = te_string_of(dict, "Delimiters");
  set("Expander Mode", KvValue::of_integer(expander), integer_is("Expander Mode", expander));
  set("Delimiters", KvValue::of_string(prefs.delimiters),
      delimiters && equals_ignore_case(*delimiters, prefs.delimiters));
  set("Default Abbreviation Mode", KvValue::of_integer(case_mode),
      integer_is("Default Abbreviation Mode", case_mode));
  const KvValue* sound = kvlist_lookup_value(dict, "Auditory Feedback");
  const bool same_sound = sound && (sound->type() == KV_TRUE || sound->type() == KV_FALSE) &&
                          (sound->type() == KV_TRUE) == prefs.sound;
  set("Auditory Feedback", KvValue::of_bool(prefs.sound), same_sound);
  return changed;
}

Result<std::string> te_settings_file_text(const Folder* absolute_parent,
                                          const TePreferences& prefs,
                                          const TeExportOptions& options) {
  if (!absolute_parent) return Error{kFolderIsBlank};
  std::unique_ptr<Folder> copy = export_copy(*absolute_parent);
  if (abbr_nested_folders_exist_in_abs_folder(*copy)) abbr_denestify_folders_in_abs_parent(*copy);
  te_build_kvlists(*copy, true, options);

  KvList root = copy->te_general ? *copy->te_general : KvList{};
  if (!kvlist_get_from_key(root, "Snippets Imported")) {
    kvlist_append(root, "Snippets Imported", KvValue::of_date(options.now));
  }
  Folder prefs_holder;
  prefs_holder.te_general = std::move(root);
  te_update_prefs_from_tolvan_prefs(prefs_holder, prefs, true);
  root = std::move(*prefs_holder.te_general);
  std::vector<KvList> set_aside;
  if (std::optional<KvElement> kept = kvlist_remove_by_key(root, "snippetsTE2");
      kept && kept->value.dicts()) {
    set_aside = std::move(*kept->value.dicts());
  }

  SettingsParts parts;
  collect(*copy, true, parts);
  for (const KvList& kept : set_aside) parts.snippets.push_back(&kept);

  std::string out(kPlistDocumentHeader);
  out += "\n<dict>";
  te_kvlist_append_xml(out, root, false, false, true, 1);
  append_dicts(out, "groupsTE2", parts.groups, 1);
  append_dicts(out, "snippetsTE2", parts.snippets, 1);
  out += "\n\t<key>Tolvan</key>\n\t<dict>";
  append_dicts(out, "tolvanSpecificAbbrev", parts.abbrev_specific, 2);
  append_dicts(out, "tolvanSpecificFolder", parts.folder_specific, 2);
  append_dicts(out, "progLaunchers", parts.programs, 2);
  append_dicts(out, "webLaunchers", parts.websites, 2);
  KvList launcher_groups;
  kvlist_append(launcher_groups, "launcherGroups",
                KvValue::of_dicts(std::move(parts.launcher_groups)));
  te_kvlist_append_xml(out, launcher_groups, false, false, true, 2);
  out += "\n\t</dict>\n</dict>\n</plist>\n";
  return out;
}

Result<std::string> te_group_file_text(const Folder* folder, const TeExportOptions& options) {
  if (!folder) return Error{kFolderIsBlank};
  std::unique_ptr<Folder> copy = export_copy(*folder);
  if (!copy->subfolders.empty()) {
    gather_into(*copy, *folder);
    copy->subfolders.clear();
  }
  te_build_kvlists(*copy, false, options);
  std::vector<const KvList*> snippets;
  for (const auto& abbrev : copy->abbreviations) {
    if (!abbr_is_launcher(*abbrev)) snippets.push_back(&*abbrev->te_general);
  }
  std::string out(kPlistDocumentHeader);
  out += "\n<dict>";
  te_kvlist_append_xml(out, *copy->te_group_settings, false, false, true, 1);
  append_dicts(out, "snippetsTE2", snippets, 1);
  out += "\n</dict>\n</plist>\n";
  return out;
}

}  // namespace tolvan
