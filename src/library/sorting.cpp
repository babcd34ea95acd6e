// Stable sorting of abbreviations and folders by a column.
#include "library/sorting.h"

#include <algorithm>
#include <string>
#include <utility>

#include "library/abbrev_strings.h"

namespace tolvan {
namespace {

int ascii_fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// Keys of one list often share long beginnings; equal bytes are skipped without folding
// them, which is most of the work of a sort of 100,000 records.
int stricmp(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  size_t i = 0;
  while (true) {
    while (i < n && a[i] == b[i]) ++i;
    if (i == n) break;
    const int ca = ascii_fold(static_cast<unsigned char>(a[i]));
    const int cb = ascii_fold(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
    ++i;
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

bool abbr_sort_key_before(std::string_view a, std::string_view b, int order) {
  if (a.empty() || b.empty()) return !a.empty() && b.empty();
  return order == SORT_DESCENDING ? stricmp(b, a) < 0 : stricmp(a, b) < 0;
}

bool abbr_sort_keys_equal(std::string_view a, std::string_view b) { return stricmp(a, b) == 0; }

namespace {

// Sorts by keys computed once per item, not once per comparison; a missing (empty) key goes
// after every present one. A key that is a field of the item is only looked at, not copied:
// sorting 100,000 records by description then allocates nothing per record.
template <class T, class KeyFn>
void sort_by_key(std::vector<T*>& list, int order, KeyFn key_of) {
  std::vector<std::string> made;  // the keys that are not a field; never grows past this
  made.reserve(list.size());
  std::vector<std::pair<std::string_view, T*>> keyed;
  keyed.reserve(list.size());
  for (T* item : list) keyed.emplace_back(key_of(*item, made), item);
  std::stable_sort(keyed.begin(), keyed.end(), [order](const auto& x, const auto& y) {
    return abbr_sort_key_before(x.first, y.first, order);
  });
  for (size_t i = 0; i < list.size(); ++i) list[i] = keyed[i].second;
}

std::string_view abbrev_key(const Abbreviation& a, int column, std::vector<std::string>& made) {
  if (column == SORT_BY_DESCRIPTION) return a.description;
  // One typed form without a bar is its own joined form.
  if (column == SORT_BY_ABBREVIATION && a.abbreviations.size() == 1 &&
      a.abbreviations.front().find('|') == std::string::npos) {
    return a.abbreviations.front();
  }
  if (column == SORT_BY_EXPANSION && a.type() == ABBR_TYPE_TEXT) return a.expansion();
  return made.emplace_back(abbr_sort_key(a, column));
}

}  // namespace

void abbr_sort_abbrev_lst(std::vector<Abbreviation*>& list, int column, int order) {
  sort_by_key(list, order, [column](const Abbreviation& a, std::vector<std::string>& made) {
    return abbrev_key(a, column, made);
  });
}

void abbr_sort_folder_lst(std::vector<Folder*>& list, int /*column*/, int order) {
  sort_by_key(list, order,
              [](const Folder& f, std::vector<std::string>&) { return std::string_view(f.name); });
}

}  // namespace tolvan
