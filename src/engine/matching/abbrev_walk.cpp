// The plain walk through the library and the two rules it shares with the index.
#include "engine/matching/abbrev_walk.h"

#include <algorithm>
#include <cstring>

#include "core/utf.h"

namespace tolvan {

PrecedingRule preceding_rule(uint8_t anywhere) {
  if (anywhere == 1) return PrecedingRule::kAnything;
  if (anywhere == 0) return PrecedingRule::kNotAlnum;
  return PrecedingRule::kNothing;
}

bool mon_preceding_text_allows(PrecedingRule rule, std::string_view buffer, size_t n) {
  if (rule == PrecedingRule::kAnything || n >= buffer.size()) return true;
  const size_t tail = buffer.size() - n;
  if (rule == PrecedingRule::kNothing) return buffer[tail - 1] == 0;
  std::optional<size_t> before = utf8_previous_char_start(buffer, tail);
  if (!before) return true;
  std::optional<Utf8Char> c = utf8_char_at(buffer, *before);
  return !c || !unichar_isalnum(c->value);
}

bool mon_case_mode_ignores_case(int case_mode) {
  return case_mode == CASE_INSENSITIVE || case_mode == CASE_ADAPT;
}

bool mon_tail_equals(int case_mode, std::string_view tail, std::string_view string) {
  size_t n = string.size();
  if (tail.size() != n) return false;
  if (mon_case_mode_ignores_case(case_mode)) return g_utf8_strncasecmp(tail, string, n) == 0;
  // strncmp stops at a zero byte both sides share; the views are not terminated, so the
  // same rule is spelled out.
  for (size_t i = 0; i < n; ++i) {
    if (tail[i] != string[i]) return false;
    if (tail[i] == 0) return true;
  }
  return true;
}

std::vector<AbbrevMatch> mon_walk_through_abbrevs_get_potential_matches(
    const Folder& folder, std::string_view buffer) {
  std::vector<AbbrevMatch> matches;
  int index = 0;
  for (const auto& abbrev : folder.abbreviations) {
    if (abbrev->type() != ABBR_TYPE_UNSUPPORTED) {
      PrecedingRule rule = preceding_rule(abbrev->anywhere);
      for (const std::string& s : abbrev->abbreviations) {
        if (s.empty() || s.size() > buffer.size()) continue;
        if (!mon_preceding_text_allows(rule, buffer, s.size())) continue;
        if (!mon_tail_equals(abbrev->case_mode, buffer.substr(buffer.size() - s.size()), s))
          continue;
        matches.push_back(AbbrevMatch{abbrev.get(), &s, index});
      }
    }
    ++index;
  }
  return matches;
}

std::vector<AbbrevMatch> mon_walk_through_abbrevs_in_all_folders_get_potential_matches(
    const Folder& folder, std::string_view buffer) {
  std::vector<AbbrevMatch> matches;
  if (!folder.disabled) matches = mon_walk_through_abbrevs_get_potential_matches(folder, buffer);
  for (const auto& sub : folder.subfolders) {
    std::vector<AbbrevMatch> more =
        mon_walk_through_abbrevs_in_all_folders_get_potential_matches(*sub, buffer);
    matches.insert(matches.end(), more.begin(), more.end());
  }
  return matches;
}

void mon_abbrev_match_plist_sort_ascending_by_strlen(std::vector<AbbrevMatch>& matches) {
  std::stable_sort(matches.begin(), matches.end(), [](const AbbrevMatch& a, const AbbrevMatch& b) {
    if (!a.string || !b.string) return a.string && !b.string;
    return a.string->size() > b.string->size();
  });
}

std::optional<AbbrevMatch> mon_walk_through_abbrevs_in_all_folders_check_typed(
    const Folder& folder, std::string_view buffer) {
  std::vector<AbbrevMatch> matches =
      mon_walk_through_abbrevs_in_all_folders_get_potential_matches(folder, buffer);
  if (matches.empty()) return std::nullopt;
  mon_abbrev_match_plist_sort_ascending_by_strlen(matches);
  return matches.front();
}

std::optional<AbbrevMatch> mon_walk_find_best_match(const FolderList& main,
                                                    std::string_view buffer) {
  for (const auto& top : main) {
    if (auto best = mon_walk_through_abbrevs_in_all_folders_check_typed(*top, buffer)) return best;
  }
  return std::nullopt;
}

}  // namespace tolvan
