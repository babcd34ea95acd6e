#include "import/te_dictionaries.h"

#include "import/te_modes.h"
#include "library/abbrev_strings.h"

namespace tolvan {
namespace {

constexpr std::string_view kAlternativesJoined = "abbreviationJoined";

}  // namespace

const std::string* te_string_of(const KvList& dict, std::string_view key) {
  const KvValue* value = kvlist_lookup_value(dict, key);
  return value ? value->string() : nullptr;
}

std::optional<int32_t> te_integer_of(const KvList& dict, std::string_view key) {
  const KvValue* value = kvlist_lookup_value(dict, key);
  if (!value) return std::nullopt;
  if (value->type() != KV_INTEGER && value->type() != KV_TRUE && value->type() != KV_FALSE) {
    return std::nullopt;
  }
  return value->integer();
}

int te_get_real_snippet_type(const KvList& snippet) {
  if (kvlist_get_from_key(snippet, "richText") || kvlist_get_from_key(snippet, "cachedPNGImage")) {
    return 1;
  }
  if (std::optional<int32_t> type = te_integer_of(snippet, "snippetType")) return *type;
  return te_string_of(snippet, "plainText") ? 0 : -1;
}

KvList te_snippet_kvlist(const Abbreviation& abbrev, const std::string& uuid,
                         const ModeDefaults& defaults,
                         std::string (*to_te_macros)(std::string_view)) {
  KvList dict;
  kvlist_append(dict, "label", KvValue::of_string(abbrev.description));
  kvlist_append(dict, "abbreviation",
                KvValue::of_string(abbr_abbrev_lst_to_string(abbrev.abbreviations)));
  switch (abbrev.type()) {
    case ABBR_TYPE_TEXT:
      kvlist_append(dict, "snippetType", KvValue::of_integer(0));
      kvlist_append(dict, "plainText", KvValue::of_string(to_te_macros(abbrev.expansion())));
      break;
    case ABBR_TYPE_PROGRAM: {
      const ProgInfo& p = abbrev.program();
      kvlist_append(dict, "progExePath", KvValue::of_string(p.location));
      kvlist_append(dict, "progParams", KvValue::of_string(p.parameters));
      kvlist_append(dict, "progRunIn", KvValue::of_string(p.run_in));
      kvlist_append(dict, "progShowMode", KvValue::of_integer(p.show_mode));
      kvlist_append(dict, "progRunAsAdmin", KvValue::of_integer(p.run_as_admin));
      break;
    }
    case ABBR_TYPE_WEBSITE:
      kvlist_append(dict, "webURL", KvValue::of_string(abbrev.website().address));
      kvlist_append(dict, "webBrowser", KvValue::of_string(abbrev.website().browser));
      break;
    case ABBR_TYPE_UNSUPPORTED:
      break;
  }
  kvlist_append(dict, "abbreviationMode",
                KvValue::of_integer(tolvan_case_mode_to_te_abbrev_mode(abbrev.case_mode, defaults)));
  kvlist_append(dict, "modificationDate", KvValue::of_date(abbrev.modified));
  kvlist_append(dict, "creationDate", KvValue::of_date(abbrev.created));
  kvlist_append(dict, "uuidString", KvValue::of_string(uuid));
  return dict;
}

KvList te_abbrev_specific_kvlist(const Abbreviation& abbrev, const std::string& uuid) {
  KvList dict;
  kvlist_append(dict, "triggerMode",
                KvValue::of_integer(tolvan_trigger_mode_to_te_exp_mode(abbrev.trigger_mode)));
  kvlist_append(dict, "uuidString", KvValue::of_string(uuid));
  return dict;
}

void te_mark_alternatives_joined(KvList& abbrev_specific) {
  kvlist_set_value(abbrev_specific, kAlternativesJoined, KvValue::of_bool(true));
}

bool te_alternatives_joined(const KvList& abbrev_specific) {
  return te_integer_of(abbrev_specific, kAlternativesJoined).value_or(0) != 0;
}

}  // namespace tolvan
