#include "import/te_change_hooks.h"

#include "import/te_dictionaries.h"
#include "import/te_modes.h"
#include "library/abbrev_strings.h"

namespace tolvan {
namespace {

std::string identity(std::string_view text) { return std::string(text); }

const std::string* snippet_uuid(const Abbreviation& abbrev) {
  if (!abbrev.te_general) return nullptr;
  const std::string* uuid = te_string_of(*abbrev.te_general, "uuidString");
  return uuid && !uuid->empty() ? uuid : nullptr;
}

// The absolute parent's general dictionary holds TextExpander's preferences, not a group.
KvList* group_of(Folder* folder) {
  if (!folder || !folder->parent || !folder->te_general) return nullptr;
  return &*folder->te_general;
}

}  // namespace

void TeChangeHooks::abbrev_created(Abbreviation& abbrev) {
  Folder* folder = abbrev.folder;
  if (!folder || !(folder->te_general || folder->te_group_settings)) return;
  te_abbrev_to_kvlist(abbrev, true, true, options_);
}

void TeChangeHooks::abbrev_col_modified(Abbreviation& abbrev, AbbrevField field) {
  if (field == AbbrevField::TriggerMode) {
    if (abbrev.te_abbrev_specific) {
      kvlist_set_value(*abbrev.te_abbrev_specific, "triggerMode",
                       KvValue::of_integer(tolvan_trigger_mode_to_te_exp_mode(abbrev.trigger_mode)));
    }
  } else if (abbrev.te_general) {
    KvList& snippet = *abbrev.te_general;
    switch (field) {
      case AbbrevField::Description:
        kvlist_set_value(snippet, "label", KvValue::of_string(abbrev.description));
        break;
      case AbbrevField::Abbreviations:
        kvlist_set_value(snippet, "abbreviation",
                         KvValue::of_string(abbr_abbrev_lst_to_string(abbrev.abbreviations)));
        // Without the mark a later import would take the joined alternatives for one
        // abbreviation that contains "|", as TextExpander's own snippets are read; a
        // snippet that came from TextExpander gets the dictionary that carries the mark.
        if (!abbrev.te_abbrev_specific) {
          const std::string* uuid = snippet_uuid(abbrev);
          abbrev.te_abbrev_specific = te_abbrev_specific_kvlist(abbrev, uuid ? *uuid : "");
        }
        te_mark_alternatives_joined(*abbrev.te_abbrev_specific);
        break;
      case AbbrevField::Expansion:
        switch (abbrev.type()) {
          case ABBR_TYPE_TEXT: {
            auto to_te = options_.to_te_macros ? options_.to_te_macros : identity;
            kvlist_set_value(snippet, "plainText", KvValue::of_string(to_te(abbrev.expansion())));
            break;
          }
          case ABBR_TYPE_PROGRAM:
            kvlist_set_value(snippet, "progExePath", KvValue::of_string(abbrev.program().location));
            break;
          case ABBR_TYPE_WEBSITE:
            kvlist_set_value(snippet, "webURL", KvValue::of_string(abbrev.website().address));
            break;
          case ABBR_TYPE_UNSUPPORTED:
            break;
        }
        break;
      case AbbrevField::CaseMode:
        kvlist_set_value(snippet, "abbreviationMode",
                         KvValue::of_integer(tolvan_case_mode_to_te_abbrev_mode(
                             abbrev.case_mode, options_.defaults)));
        break;
      case AbbrevField::TriggerMode:
        break;
    }
  }
  if (abbrev.te_general) {
    kvlist_set_value(*abbrev.te_general, "modificationDate", KvValue::of_date(abbrev.modified));
  }
}

void TeChangeHooks::abbrev_noncol_modified(Abbreviation& abbrev, std::string_view key,
                                           const KvValue& value) {
  const bool specific = key == "triggerMode" || key == "anywhereMode";
  std::optional<KvList>& dict = specific ? abbrev.te_abbrev_specific : abbrev.te_general;
  if (dict) kvlist_set_value(*dict, key, value);
}

void TeChangeHooks::abbrev_deleting(Abbreviation& abbrev) {
  const std::string* uuid = snippet_uuid(abbrev);
  KvList* group = group_of(abbrev.folder);
  if (!uuid || !group) return;
  if (KvValue* listed = kvlist_lookup_value_type(*group, "snippetUUIDs", KV_VALUE_ARRAY)) {
    kvlist_delete_by_value(*listed->list(), *uuid);
  }
}

void TeChangeHooks::abbrev_reparenting(Abbreviation& abbrev, Folder& new_folder) {
  abbrev_deleting(abbrev);
  const std::string* uuid = snippet_uuid(abbrev);
  KvList* group = group_of(&new_folder);
  if (!uuid || !group) return;
  KvValue* listed = kvlist_lookup_value_type(*group, "snippetUUIDs", KV_VALUE_ARRAY);
  if (listed && !kvlist_lookup_by_string_value(*listed->list(), *uuid)) {
    kvlist_append(*listed->list(), "", KvValue::of_string(*uuid), true);
  }
}

void TeChangeHooks::folder_modified(Folder& folder) { te_folder_modified(folder); }

bool te_prefs_modified(Library& library, const TePreferences& prefs) {
  auto lock = library.lock_main_list();
  if (Folder* top = abbr_get_absolute_parent_folder(library.sandbox)) {
    te_update_prefs_from_tolvan_prefs(*top, prefs, false);
  }
  Folder* top = abbr_get_absolute_parent_folder(library.main_list);
  return top && te_update_prefs_from_tolvan_prefs(*top, prefs, false);
}

}  // namespace tolvan
