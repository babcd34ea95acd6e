// Searching abbreviations by text; case is folded with Unicode rules.
#include "library/search.h"

#include <memory>
#include <string>

#include "core/utf.h"
#include "library/lookups.h"

namespace tolvan {
namespace {

bool is_plain_ascii(std::string_view s) {
  for (char c : s) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0 || byte >= 0x80) return false;
  }
  return true;
}

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

// `field` with its ASCII letters lower-cased, compared with the already folded `folded`.
bool ascii_folded_equal(std::string_view field, std::string_view folded) {
  if (field.size() != folded.size()) return false;
  for (size_t i = 0; i < field.size(); ++i) {
    if (ascii_lower(field[i]) != folded[i]) return false;
  }
  return true;
}

bool ascii_folded_contains(std::string_view field, std::string_view folded) {
  if (folded.empty()) return true;
  if (field.size() < folded.size()) return false;
  const size_t last = field.size() - folded.size();
  for (size_t start = 0; start <= last; ++start) {
    if (ascii_lower(field[start]) == folded[0] &&
        ascii_folded_equal(field.substr(start, folded.size()), folded)) {
      return true;
    }
  }
  return false;
}

class Matcher {
 public:
  Matcher(std::string_view text, unsigned flags)
      : text_(text),
        folded_text_(utf8_casefold(text)),
        folded_is_ascii_(is_plain_ascii(folded_text_)),
        flags_(flags) {}

  bool matches(std::string_view field, bool case_sensitive) const {
    if (case_sensitive) return compare(field, text_);
    // Folding plain ASCII only lower-cases its letters, so most fields are compared where
    // they stand instead of being folded into a new string first; with 100,000 records
    // that copy was most of a search's time. Anything else (and a zero byte, where the
    // folding stops) takes the full Unicode folding.
    if (folded_is_ascii_ && is_plain_ascii(field)) {
      return whole_field() ? ascii_folded_equal(field, folded_text_)
                           : ascii_folded_contains(field, folded_text_);
    }
    return compare(utf8_casefold(field), folded_text_);
  }
  bool case_sensitive() const { return flags_ & SEARCH_CASE_SENSITIVE; }

 private:
  bool whole_field() const { return flags_ & SEARCH_WHOLE_FIELD; }
  bool compare(std::string_view field, std::string_view text) const {
    if (whole_field()) return field == text;
    return field.find(text) != std::string_view::npos;
  }

  std::string text_;
  std::string folded_text_;
  bool folded_is_ascii_;
  unsigned flags_;
};

bool abbrev_matches(const Abbreviation& a, const Matcher& m, unsigned flags) {
  if ((flags & SEARCH_DESCRIPTION) && m.matches(a.description, m.case_sensitive())) return true;
  if (flags & SEARCH_ABBREVIATION) {
    bool sensitive = (flags & SEARCH_ABBREV_OWN_CASE) ? a.case_mode == CASE_SENSITIVE
                                                       : m.case_sensitive();
    for (const auto& s : a.abbreviations) {
      if (m.matches(s, sensitive)) return true;
    }
  }
  if ((flags & SEARCH_EXPANSION) && a.type() == ABBR_TYPE_TEXT &&
      m.matches(a.expansion(), m.case_sensitive())) {
    return true;
  }
  return false;
}

}  // namespace

std::vector<Abbreviation*> abbr_find_abbrevs_containing_string(const FolderList& sandbox,
                                                               const Folder* folder,
                                                               std::string_view text,
                                                               const Abbreviation* excluded,
                                                               unsigned flags) {
  std::vector<Abbreviation*> candidates;
  if (folder == nullptr) {
    candidates = abbr_get_all_folders_and_abbrevs_from_folder_list(sandbox).abbreviations;
  } else if (flags & SEARCH_SUBFOLDERS) {
    candidates = abbr_get_all_folders_and_abbrevs_from_folder(*folder).abbreviations;
  } else {
    for (const auto& a : folder->abbreviations) candidates.push_back(a.get());
  }

  Matcher matcher(text, flags);
  std::vector<Abbreviation*> found;
  for (Abbreviation* a : candidates) {
    if (a == excluded || !abbrev_matches(*a, matcher, flags)) continue;
    found.push_back(a);
    if (flags & SEARCH_FIRST_ONLY) break;
  }
  return found;
}

}  // namespace tolvan
