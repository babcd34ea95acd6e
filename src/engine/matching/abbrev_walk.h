// The plain walk through the library that defines which abbreviation the typed text
// completes: every string of every abbreviation compared with the tail of the key buffer.
// AbbrevIndex gives the same answers without the walk; this form is the yardstick it is
// tested against, and the home of the two rules both share (what may precede an
// abbreviation, and how a tail compares with a string).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/matching/abbrev_match.h"
#include "library/model.h"

namespace tolvan {

// What an abbreviation's Anywhere Mode asks of the text in front of it.
enum class PrecedingRule : uint8_t {
  kAnything = 0,     // Anywhere Mode 1
  kNotAlnum = 1,     // Anywhere Mode 0: no letter or digit directly before
  kNothing = 2,      // any other value: nothing typed before it since the last clear
};
inline constexpr int kPrecedingRules = 3;
PrecedingRule preceding_rule(uint8_t anywhere);

// Whether the text of `buffer` in front of its last n bytes satisfies `rule`. In front of
// the very first byte there is nothing, which satisfies every rule.
bool mon_preceding_text_allows(PrecedingRule rule, std::string_view buffer, size_t n);

// CASE_INSENSITIVE and CASE_ADAPT compare ignoring case; every other value exactly.
bool mon_case_mode_ignores_case(int case_mode);
// The tail (exactly as many bytes as `string`) against the string: strncmp for exact
// comparison, g_utf8_strncasecmp otherwise.
bool mon_tail_equals(int case_mode, std::string_view tail, std::string_view string);

// The candidates among one folder's abbreviations, in list order (strings in their order).
std::vector<AbbrevMatch> mon_walk_through_abbrevs_get_potential_matches(
    const Folder& folder, std::string_view buffer);
// The candidates of a folder's tree in walk order: its own (unless it is disabled), then
// each subfolder's tree.
std::vector<AbbrevMatch> mon_walk_through_abbrevs_in_all_folders_get_potential_matches(
    const Folder& folder, std::string_view buffer);
// Stable: longer strings first, equal lengths keep their order.
void mon_abbrev_match_plist_sort_ascending_by_strlen(std::vector<AbbrevMatch>& matches);
// The best candidate of a folder's tree.
std::optional<AbbrevMatch> mon_walk_through_abbrevs_in_all_folders_check_typed(
    const Folder& folder, std::string_view buffer);
// The whole library: the best candidate of the first top-level folder that has any.
std::optional<AbbrevMatch> mon_walk_find_best_match(const FolderList& main,
                                                    std::string_view buffer);

}  // namespace tolvan
