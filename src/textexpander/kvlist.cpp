// The key/value list operations and the names of the embedded lists.
#include "textexpander/kvlist.h"

#include <algorithm>
#include <iterator>

#include "core/strings.h"

namespace tolvan {
namespace {

constexpr const char* kFileTypeNames[] = {"textexpander", "textexpanderTS", "textexpanderSG",
                                          "textexpanderFTS"};

template <class List>
auto find_key(List& list, std::string_view key) {
  return std::find_if(list.begin(), list.end(),
                      [&](const KvElement& e) { return equals_ignore_case(e.key, key); });
}

bool string_equals(const KvElement& e, std::string_view s) {
  const std::string* text = e.value.string();
  return text != nullptr && equals_ignore_case(*text, s);
}

template <class List>
auto* nth(List& list, long n) {
  using Element = std::remove_reference_t<decltype(*list.begin())>;
  if (list.empty()) return static_cast<Element*>(nullptr);
  if (n < 0) return &list.elements.back();
  if (static_cast<std::size_t>(n) >= list.size()) return static_cast<Element*>(nullptr);
  return &list.elements[static_cast<std::size_t>(n)];
}

}  // namespace

const char* te_kvlist_type_to_xml_name(int file_type) {
  if (file_type >= 0 && file_type < static_cast<int>(std::size(kFileTypeNames))) {
    return kFileTypeNames[file_type];
  }
  return "textexpanderUnknown";
}

int te_xml_name_to_te_type(std::string_view name) {
  for (int i = 0; i < static_cast<int>(std::size(kFileTypeNames)); ++i) {
    if (equals_ignore_case(name, kFileTypeNames[i])) return i;
  }
  return -1;
}

void kvlist_append(KvList& list, std::string_view key, KvValue value, bool duplicates) {
  if (!duplicates) {
    auto it = find_key(list, key);
    if (it != list.end()) {
      it->value = std::move(value);
      return;
    }
  }
  list.elements.push_back({std::string(key), std::move(value)});
}

void kvlist_set_value(KvList& list, std::string_view key, KvValue value) {
  kvlist_append(list, key, std::move(value), false);
}

void kvlist_append_kvlist(KvList& a, KvList b) {
  a.elements.insert(a.elements.end(), std::make_move_iterator(b.elements.begin()),
                    std::make_move_iterator(b.elements.end()));
}

std::size_t kvlist_get_n_elements(const KvList& list) { return list.size(); }

KvElement* kvlist_get_nth(KvList& list, long n) { return nth(list, n); }
const KvElement* kvlist_get_nth(const KvList& list, long n) { return nth(list, n); }

KvElement* kvlist_get_from_key(KvList& list, std::string_view key) {
  auto it = find_key(list, key);
  return it == list.end() ? nullptr : &*it;
}

const KvElement* kvlist_get_from_key(const KvList& list, std::string_view key) {
  auto it = find_key(list, key);
  return it == list.end() ? nullptr : &*it;
}

KvElement* kvlist_get_from_key_type(KvList& list, std::string_view key, KvType type) {
  KvElement* e = kvlist_get_from_key(list, key);
  return e != nullptr && e->value.type() == type ? e : nullptr;
}

const KvElement* kvlist_get_from_key_type(const KvList& list, std::string_view key,
                                          KvType type) {
  const KvElement* e = kvlist_get_from_key(list, key);
  return e != nullptr && e->value.type() == type ? e : nullptr;
}

const KvValue* kvlist_lookup_value(const KvList& list, std::string_view key) {
  const KvElement* e = kvlist_get_from_key(list, key);
  return e == nullptr ? nullptr : &e->value;
}

KvValue* kvlist_lookup_value(KvList& list, std::string_view key) {
  KvElement* e = kvlist_get_from_key(list, key);
  return e == nullptr ? nullptr : &e->value;
}

const KvValue* kvlist_lookup_value_type(const KvList& list, std::string_view key, KvType type) {
  const KvElement* e = kvlist_get_from_key_type(list, key, type);
  return e == nullptr ? nullptr : &e->value;
}

KvValue* kvlist_lookup_value_type(KvList& list, std::string_view key, KvType type) {
  KvElement* e = kvlist_get_from_key_type(list, key, type);
  return e == nullptr ? nullptr : &e->value;
}

KvElement* kvlist_lookup_by_string_value(KvList& list, std::string_view s) {
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const KvElement& e) { return string_equals(e, s); });
  return it == list.end() ? nullptr : &*it;
}

const KvElement* kvlist_lookup_by_string_value(const KvList& list, std::string_view s) {
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const KvElement& e) { return string_equals(e, s); });
  return it == list.end() ? nullptr : &*it;
}

void kvlist_delete_element(KvList& list, const KvElement* element) {
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const KvElement& e) { return &e == element; });
  if (it != list.end()) list.elements.erase(it);
}

std::optional<KvElement> kvlist_remove_by_key(KvList& list, std::string_view key) {
  auto it = find_key(list, key);
  if (it == list.end()) return std::nullopt;
  KvElement taken = std::move(*it);
  list.elements.erase(it);
  return taken;
}

void kvlist_delete_by_value(KvList& list, std::string_view s) {
  std::erase_if(list.elements, [&](const KvElement& e) { return string_equals(e, s); });
}

KvList te_dup_kvlist_all_but(const KvList& list, std::string_view key) {
  KvList copy;
  for (const KvElement& e : list) {
    if (!equals_ignore_case(e.key, key)) copy.elements.push_back(e);
  }
  return copy;
}

}  // namespace tolvan
