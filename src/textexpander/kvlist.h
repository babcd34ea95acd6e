// KvList: the ordered key/value lists that hold property-list data, and the TextExpander
// data hung on folders and abbreviations so that what Tolvan does not use itself survives
// a round trip. Values are typed after the property-list element they come from; keys are
// compared without regard to ASCII case and are unique unless a caller asks for duplicates
// (arrays of plain values are lists whose elements have empty keys).
//
// Lists and values own everything they hold: copying one is a deep copy, so a folder or
// abbreviation copied into the sandbox never shares its TextExpander data with the main
// list; destroying one frees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/abbrtime.h"

namespace tolvan {

// Value type codes. They appear in the reader's error messages, so they are fixed.
enum KvType : int {
  KV_NONE = 0,           // no element
  KV_UNKNOWN = 1,        // an element with an unknown name (an error)
  KV_KEY = 2,            // key: keys only, never a value
  KV_EMPTY_ARRAY = 3,    // an array with no elements
  KV_STRING = 4,
  KV_DATA = 5,           // the element's Base64 text, not decoded
  KV_DATE = 6,           // an AbbrTime (its text until converted)
  KV_INTEGER = 7,        // a 32-bit signed integer (its text until converted)
  KV_REAL = 8,           // the number's text
  KV_DICT = 9,           // a nested dictionary
  KV_DICT_ELEMENT = 10,  // the dict element itself, while scanning
  KV_TRUE = 11,          // the integer 1 (the text "true" until converted)
  KV_FALSE = 12,         // the integer 0 (the text "false" until converted)
  KV_DICT_ARRAY = 14,    // an array of dictionaries
  KV_ANY = 15,           // scanner only: any element
  KV_VALUE_ARRAY = 16,   // an array of plain values: a list with empty keys, in order
};

// Which TextExpander data slot an embedded list fills, and the name of its element in the
// abbreviation file.
enum KvFileType : int {
  TE_KV_GENERAL = 0,          // "textexpander": a folder's or an abbreviation's general data
  TE_KV_ABBREV_SPECIFIC = 1,  // "textexpanderTS": an abbreviation's tolvanSpecificAbbrev
  TE_KV_GROUP_SETTINGS = 2,   // "textexpanderSG": a folder's group settings
  TE_KV_FOLDER_SPECIFIC = 3,  // "textexpanderFTS": a folder's tolvanSpecificFolder
};

// "textexpander", "textexpanderTS", "textexpanderSG", "textexpanderFTS"; any other code
// gives "textexpanderUnknown".
const char* te_kvlist_type_to_xml_name(int file_type);
// The inverse, without regard to case; -1 for any other name.
int te_xml_name_to_te_type(std::string_view name);

struct KvElement;

class KvList {
 public:
  std::vector<KvElement> elements;

  // Declared here and defaulted below, where KvElement is complete.
  KvList();
  KvList(const KvList&);
  KvList(KvList&&) noexcept;
  KvList& operator=(const KvList&);
  KvList& operator=(KvList&&) noexcept;
  ~KvList();

  bool empty() const;
  std::size_t size() const;
  std::vector<KvElement>::iterator begin();
  std::vector<KvElement>::iterator end();
  std::vector<KvElement>::const_iterator begin() const;
  std::vector<KvElement>::const_iterator end() const;

  friend bool operator==(const KvList&, const KvList&);
};

class KvValue {
 public:
  KvValue() = default;  // KV_NONE

  static KvValue of_string(std::string s) { return {KV_STRING, std::move(s)}; }
  static KvValue of_data(std::string base64) { return {KV_DATA, std::move(base64)}; }
  static KvValue of_real(std::string number) { return {KV_REAL, std::move(number)}; }
  static KvValue of_date(const AbbrTime& t) { return {KV_DATE, t}; }
  static KvValue of_integer(int32_t n) { return {KV_INTEGER, n}; }
  static KvValue of_bool(bool b) { return {b ? KV_TRUE : KV_FALSE, int32_t{b ? 1 : 0}}; }
  static KvValue of_dict(KvList dict) { return {KV_DICT, std::move(dict)}; }
  // An array of plain values (elements with empty keys).
  static KvValue of_values(KvList values) { return {KV_VALUE_ARRAY, std::move(values)}; }
  static KvValue of_dicts(std::vector<KvList> dicts) {
    return {KV_DICT_ARRAY, std::move(dicts)};
  }
  static KvValue empty_array() { return {KV_EMPTY_ARRAY, std::monostate{}}; }
  // A value of `type` still held as the text the reader found (dates, integers, booleans
  // before te_kvlist_convert_strings_to_data).
  static KvValue of_text(KvType type, std::string text) { return {type, std::move(text)}; }

  KvType type() const { return type_; }

  // The text of strings, data and reals, and of values not yet converted; else nullptr.
  const std::string* text() const { return std::get_if<std::string>(&held_); }
  std::string* text() { return std::get_if<std::string>(&held_); }
  // A converted date; else nullptr.
  const AbbrTime* date() const { return std::get_if<AbbrTime>(&held_); }
  // A converted integer or boolean (1 or 0).
  std::optional<int32_t> integer() const {
    if (const int32_t* n = std::get_if<int32_t>(&held_)) return *n;
    return std::nullopt;
  }
  // The dictionary (KV_DICT) or the plain values (KV_VALUE_ARRAY); else nullptr.
  const KvList* list() const { return std::get_if<KvList>(&held_); }
  KvList* list() { return std::get_if<KvList>(&held_); }
  // The dictionaries of a KV_DICT_ARRAY; else nullptr.
  const std::vector<KvList>* dicts() const { return std::get_if<std::vector<KvList>>(&held_); }
  std::vector<KvList>* dicts() { return std::get_if<std::vector<KvList>>(&held_); }

  // A KV_STRING's text, or nullptr.
  const std::string* string() const { return type_ == KV_STRING ? text() : nullptr; }

  friend bool operator==(const KvValue&, const KvValue&) = default;

 private:
  using Held = std::variant<std::monostate, std::string, AbbrTime, int32_t, KvList,
                            std::vector<KvList>>;
  KvValue(KvType type, Held held) : type_(type), held_(std::move(held)) {}

  KvType type_ = KV_NONE;
  Held held_;
};

struct KvElement {
  std::string key;
  KvValue value;

  friend bool operator==(const KvElement&, const KvElement&) = default;
};

inline bool operator==(const KvList& a, const KvList& b) { return a.elements == b.elements; }
inline KvList::KvList() = default;
inline KvList::KvList(const KvList&) = default;
inline KvList::KvList(KvList&&) noexcept = default;
inline KvList& KvList::operator=(const KvList&) = default;
inline KvList& KvList::operator=(KvList&&) noexcept = default;
inline KvList::~KvList() = default;
inline bool KvList::empty() const { return elements.empty(); }
inline std::size_t KvList::size() const { return elements.size(); }
inline std::vector<KvElement>::iterator KvList::begin() { return elements.begin(); }
inline std::vector<KvElement>::iterator KvList::end() { return elements.end(); }
inline std::vector<KvElement>::const_iterator KvList::begin() const { return elements.begin(); }
inline std::vector<KvElement>::const_iterator KvList::end() const { return elements.end(); }

// Without duplicates, an element with that key keeps its place and takes the new value;
// otherwise the element is appended at the end.
void kvlist_append(KvList& list, std::string_view key, KvValue value, bool duplicates = false);
// Replaces the value of the element with that key in place, or appends one.
void kvlist_set_value(KvList& list, std::string_view key, KvValue value);
// Appends every element of b after the last one of a (duplicates kept).
void kvlist_append_kvlist(KvList& a, KvList b);

std::size_t kvlist_get_n_elements(const KvList& list);
// n < 0 gives the last element; n past the end gives nullptr.
KvElement* kvlist_get_nth(KvList& list, long n);
const KvElement* kvlist_get_nth(const KvList& list, long n);

// The first element with that key, or nullptr.
KvElement* kvlist_get_from_key(KvList& list, std::string_view key);
const KvElement* kvlist_get_from_key(const KvList& list, std::string_view key);
// Only when that element has that type.
KvElement* kvlist_get_from_key_type(KvList& list, std::string_view key, KvType type);
const KvElement* kvlist_get_from_key_type(const KvList& list, std::string_view key,
                                          KvType type);
// The value of the first element with that key (its type() tells the type), or nullptr.
const KvValue* kvlist_lookup_value(const KvList& list, std::string_view key);
KvValue* kvlist_lookup_value(KvList& list, std::string_view key);
// Only when that element has that type.
const KvValue* kvlist_lookup_value_type(const KvList& list, std::string_view key, KvType type);
KvValue* kvlist_lookup_value_type(KvList& list, std::string_view key, KvType type);
// The first KV_STRING element whose text equals s without regard to case.
KvElement* kvlist_lookup_by_string_value(KvList& list, std::string_view s);
const KvElement* kvlist_lookup_by_string_value(const KvList& list, std::string_view s);

// Removes the element (which must belong to the list); the elements after it move up.
void kvlist_delete_element(KvList& list, const KvElement* element);
// Takes the first element with that key out of the list and hands it back.
std::optional<KvElement> kvlist_remove_by_key(KvList& list, std::string_view key);
// Removes every KV_STRING element whose text equals s without regard to case.
void kvlist_delete_by_value(KvList& list, std::string_view s);

// A copy leaving out the elements with that key.
KvList te_dup_kvlist_all_but(const KvList& list, std::string_view key);

}  // namespace tolvan
