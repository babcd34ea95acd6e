// Stable sorting of abbreviations and folders by a column.
#include "library/sorting.h"

#include <algorithm>
#include <string>
#include <utility>

#include "library/abbrev_strings.h"

namespace tolvan {
namespace {

int stricmp(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(a[i]);
    int cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
    if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    if (ca != cb) return ca - cb;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace

std::string abbr_sort_key(const Abbreviation& a, int column) {
  switch (column) {
    case SORT_BY_DESCRIPTION: return a.description;
    case SORT_BY_ABBREVIATION: return abbr_abbrev_lst_to_string(a.abbreviations);
    case SORT_BY_FOLDER: return abbr_get_containing_folder_string(a, true, false);
    case SORT_BY_CREATED: return abbr_time_to_compare_string(a.created);
    case SORT_BY_MODIFIED: return abbr_time_to_compare_string(a.modified);
    default: return abbr_abbrev_exp_to_display_string(a);
  }
}

bool abbr_sort_key_before(const std::string& a, const std::string& b, int order) {
  if (a.empty() || b.empty()) return !a.empty() && b.empty();
  return order == SORT_DESCENDING ? stricmp(b, a) < 0 : stricmp(a, b) < 0;
}

bool abbr_sort_keys_equal(const std::string& a, const std::string& b) { return stricmp(a, b) == 0; }

namespace {

// Sorts by precomputed keys; a missing (empty) key goes after every present one.
template <class T, class KeyFn>
void sort_by_key(std::vector<T*>& list, int order, KeyFn key_of) {
  std::vector<std::pair<std::string, T*>> keyed;
  keyed.reserve(list.size());
  for (T* item : list) keyed.emplace_back(key_of(*item), item);
  std::stable_sort(keyed.begin(), keyed.end(), [order](const auto& x, const auto& y) {
    return abbr_sort_key_before(x.first, y.first, order);
  });
  for (size_t i = 0; i < list.size(); ++i) list[i] = keyed[i].second;
}

}  // namespace

void abbr_sort_abbrev_lst(std::vector<Abbreviation*>& list, int column, int order) {
  sort_by_key(list, order, [column](const Abbreviation& a) { return abbr_sort_key(a, column); });
}

void abbr_sort_folder_lst(std::vector<Folder*>& list, int /*column*/, int order) {
  sort_by_key(list, order, [](const Folder& f) { return f.name; });
}

}  // namespace tolvan
