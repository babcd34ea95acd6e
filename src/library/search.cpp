// Searching abbreviations by text; case is folded with Unicode rules.
#include "library/search.h"

#include <memory>
#include <string>

#include "core/utf.h"
#include "library/lookups.h"

namespace tolvan {
namespace {

class Matcher {
 public:
  Matcher(std::string_view text, unsigned flags)
      : text_(text), folded_text_(utf8_casefold(text)), flags_(flags) {}

  bool matches(std::string_view field, bool case_sensitive) const {
    if (case_sensitive) return compare(field, text_);
    return compare(utf8_casefold(field), folded_text_);
  }
  bool case_sensitive() const { return flags_ & SEARCH_CASE_SENSITIVE; }

 private:
  bool compare(std::string_view field, std::string_view text) const {
    if (flags_ & SEARCH_WHOLE_FIELD) return field == text;
    return field.find(text) != std::string_view::npos;
  }

  std::string text_;
  std::string folded_text_;
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
