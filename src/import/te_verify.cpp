#include "import/te_verify.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "core/strings.h"

namespace tolvan {
namespace {

constexpr int kEitherBoolean = -1;  // KV_TRUE or KV_FALSE

struct KeyType {
  std::string_view key;
  int type;
};

constexpr KeyType kTopKeys[] = {
    {"Date Installed", KV_DATE},  {"Default Abbreviation Mode", KV_INTEGER},
    {"Delimiters", KV_STRING},    {"Expander Mode", KV_INTEGER},
    {"Snippets Imported", KV_DATE}, {"groupsTE2", KV_DICT_ARRAY},
    {"snippetsTE2", KV_DICT_ARRAY}, {"Tolvan", KV_DICT}};
constexpr KeyType kGroupKeys[] = {{"expandAfterMode", KV_INTEGER}, {"name", KV_STRING},
                                  {"uuidString", KV_STRING},       {"writable", KV_INTEGER},
                                  {"snippetUUIDs", KV_VALUE_ARRAY}};
constexpr KeyType kSnippetKeys[] = {
    {"abbreviation", KV_STRING},  {"abbreviationMode", KV_INTEGER}, {"creationDate", KV_DATE},
    {"label", KV_STRING},         {"modificationDate", KV_DATE},    {"plainText", KV_STRING},
    {"snippetType", KV_INTEGER},  {"uuidString", KV_STRING}};
constexpr KeyType kProductKeys[] = {
    {"tolvanSpecificAbbrev", KV_DICT_ARRAY}, {"progLaunchers", KV_DICT_ARRAY},
    {"webLaunchers", KV_DICT_ARRAY}, {"launcherGroups", KV_DICT_ARRAY},
    {"tolvanSpecificFolder", KV_DICT_ARRAY}};
constexpr KeyType kAbbrevSpecificKeys[] = {
    {"triggerMode", KV_INTEGER}, {"anywhereMode", KV_INTEGER}, {"uuidString", KV_STRING}};
constexpr KeyType kWebKeys[] = {
    {"label", KV_STRING},          {"abbreviation", KV_STRING},       {"webURL", KV_STRING},
    {"webBrowser", KV_STRING},     {"abbreviationMode", KV_INTEGER},  {"modificationDate", KV_DATE},
    {"creationDate", KV_DATE},     {"uuidString", KV_STRING}};
constexpr KeyType kProgramKeys[] = {
    {"label", KV_STRING},           {"abbreviation", KV_STRING},     {"progExePath", KV_STRING},
    {"progParams", KV_STRING},      {"progRunIn", KV_STRING},        {"progRunAsAdmin", KV_INTEGER},
    {"progShowMode", KV_INTEGER},   {"abbreviationMode", KV_INTEGER},
    {"modificationDate", KV_DATE},  {"creationDate", KV_DATE},       {"uuidString", KV_STRING}};
constexpr KeyType kFolderSpecificKeys[] = {
    {"disabled", kEitherBoolean}, {"acmHotkey", KV_STRING},
    {"acmHotkeyEnable", kEitherBoolean}, {"uuidString", KV_STRING}};

// The nine blocks; a block's number is its index (it appears in the messages).
constexpr std::array<std::span<const KeyType>, 9> kBlocks = {
    kTopKeys,  kGroupKeys,   kSnippetKeys, kProductKeys,       kAbbrevSpecificKeys,
    kWebKeys,  kProgramKeys, kGroupKeys,   kFolderSpecificKeys};

Status failed(std::string message) { return Error{std::move(message)}; }

enum Block { kTop = 0, kGroup = 1, kSnippet = 2, kProduct = 3, kLauncherGroup = 7 };

// "2014-05-01T21:06:33Z": the digits and separators of the date form.
bool looks_like_date(std::string_view s) {
  if (s.size() < 19) return false;
  for (size_t i = 0; i < 19; ++i) {
    char c = s[i];
    bool ok = i == 4 || i == 7 ? c == '-' : i == 10 ? c == 'T' : i == 13 || i == 16 ? c == ':'
                                                                                  : c >= '0' && c <= '9';
    if (!ok) return false;
  }
  return true;
}

std::string mismatch(int expected, std::string_view key, int block, int found) {
  return "Expected data type of " + std::to_string(expected) + " for key '" + std::string(key) +
         "' in block type " + std::to_string(block) + ", instead got " + std::to_string(found) +
         ".";
}

Status verify_value(KvValue& value, const KeyType& rule, int block) {
  const int found = value.type();
  if (rule.type == kEitherBoolean) {
    if (found == KV_TRUE || found == KV_FALSE) return Status::success();
    return failed(mismatch(KV_TRUE, rule.key, block, found));
  }
  if (found == rule.type) return Status::success();
  if (found == KV_EMPTY_ARRAY || (found == KV_DICT && value.list()->empty())) {
    if (rule.type == KV_DICT) {
      value = KvValue::of_dict({});
      return Status::success();
    }
    if (rule.type == KV_DICT_ARRAY) {
      value = KvValue::of_dicts({});
      return Status::success();
    }
    if (rule.type == KV_VALUE_ARRAY) {
      value = KvValue::of_values({});
      return Status::success();
    }
  }
  if (rule.type == KV_DATE && found == KV_STRING && looks_like_date(*value.text())) {
    value = KvValue::of_text(KV_DATE, *value.text());
    return Status::success();
  }
  return failed(mismatch(rule.type, rule.key, block, found));
}

Status verify_dict(KvList& dict, int block) {
  for (const KeyType& rule : kBlocks[block]) {
    KvValue* value = kvlist_lookup_value(dict, rule.key);
    if (!value) continue;
    if (Status s = verify_value(*value, rule, block); !s) return s;
  }
  if (block == kGroup || block == kLauncherGroup) {
    if (const KvValue* uuids = kvlist_lookup_value_type(dict, "snippetUUIDs", KV_VALUE_ARRAY)) {
      for (const KvElement& e : *uuids->list()) {
        if (e.value.type() != KV_STRING) {
          return failed("Expected data type of 4 in list of snippetUUIDs in " +
                                 std::to_string(block) + ", instead got " +
                                 std::to_string(e.value.type()) + ".");
        }
      }
    }
  }
  return Status::success();
}

Status verify_array(KvList& dict, std::string_view key, int block) {
  KvValue* array = kvlist_lookup_value_type(dict, key, KV_DICT_ARRAY);
  if (!array) return Status::success();
  for (KvList& element : *array->dicts()) {
    if (Status s = verify_dict(element, block); !s) return s;
  }
  return Status::success();
}

}  // namespace

Status te_verify_textexpander_data(KvList& top) {
  if (Status s = verify_dict(top, kTop); !s) return s;
  if (Status s = verify_array(top, "groupsTE2", kGroup); !s) return s;
  if (Status s = verify_array(top, "snippetsTE2", kSnippet); !s) return s;
  KvValue* product = kvlist_lookup_value_type(top, "Tolvan", KV_DICT);
  if (!product) return Status::success();
  KvList& tolvan = *product->list();
  if (Status s = verify_dict(tolvan, kProduct); !s) return s;
  constexpr std::pair<std::string_view, int> kArrays[] = {
      {"tolvanSpecificAbbrev", 4}, {"webLaunchers", 5}, {"progLaunchers", 6},
      {"launcherGroups", 7}, {"tolvanSpecificFolder", 8}};
  for (const auto& [key, block] : kArrays) {
    if (Status s = verify_array(tolvan, key, block); !s) return s;
  }
  return Status::success();
}

}  // namespace tolvan
