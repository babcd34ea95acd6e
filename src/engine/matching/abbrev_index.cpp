// The reversed-string tries behind abbreviation matching.
#include "engine/matching/abbrev_index.h"

#include <cstring>

#include "core/utf.h"

namespace tolvan {

AbbrevIndex::Trie::Trie() : slots_(16), has_children_(1, false) {}

size_t AbbrevIndex::Trie::slot_of(uint32_t parent, uint32_t key) const {
  uint64_t h = ((static_cast<uint64_t>(parent) << 32) | key) * 0x9E3779B97F4A7C15ull;
  size_t mask = slots_.size() - 1;
  size_t i = static_cast<size_t>(h >> 32) & mask;
  while (slots_[i].parent != Slot::kEmpty &&
         (slots_[i].parent != parent || slots_[i].key != key))
    i = (i + 1) & mask;
  return i;
}

void AbbrevIndex::Trie::grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.size() * 2, Slot{});
  for (const Slot& s : old) {
    if (s.parent != Slot::kEmpty) slots_[slot_of(s.parent, s.key)] = s;
  }
}

void AbbrevIndex::Trie::insert(const std::vector<uint32_t>& reversed_keys, PrecedingRule rule,
                               EntryId entry) {
  uint32_t node = kRoot;
  Slot* slot = nullptr;
  for (uint32_t key : reversed_keys) {
    if (4 * (used_ + 1) > 3 * slots_.size()) grow();
    size_t i = slot_of(node, key);
    slot = &slots_[i];
    if (slot->parent == Slot::kEmpty) {
      slot->parent = node;
      slot->key = key;
      slot->node = static_cast<uint32_t>(has_children_.size());
      has_children_.push_back(false);
      has_children_[node] = true;
      ++used_;
    }
    node = slot->node;
  }
  if (!slot) return;
  if (slot->ends == Slot::kNoEnds) {
    slot->ends = static_cast<uint32_t>(ends_.size());
    ends_.push_back(Ends{-1, -1, -1});
  }
  EntryId& first = ends_[slot->ends][static_cast<int>(rule)];
  // Entries arrive in walk order, so the first one to land here stays.
  if (first < 0) first = entry;
}

void AbbrevIndex::Trie::shrink_to_fit() {
  has_children_.shrink_to_fit();
  ends_.shrink_to_fit();
}

const AbbrevIndex::Trie::Slot* AbbrevIndex::Trie::child(uint32_t node, uint32_t key) const {
  const Slot& s = slots_[slot_of(node, key)];
  return s.parent == Slot::kEmpty ? nullptr : &s;
}

void AbbrevIndex::clear() {
  entries_.clear();
  exact_ = Trie();
  folded_ = Trie();
  zero_byte_strings_.clear();
}

void AbbrevIndex::build(const FolderList& main) {
  clear();
  for (uint32_t top = 0; top < main.size(); ++top) add_folder_tree(*main[top], top);
  entries_.shrink_to_fit();
  exact_.shrink_to_fit();
  folded_.shrink_to_fit();
}

void AbbrevIndex::add_folder_tree(const Folder& folder, uint32_t top) {
  if (!folder.disabled) {
    int index = 0;
    for (const auto& abbrev : folder.abbreviations) {
      if (abbrev->type() != ABBR_TYPE_UNSUPPORTED) {
        for (const std::string& s : abbrev->abbreviations) {
          if (!s.empty()) add_string(*abbrev, s, index, top);
        }
      }
      ++index;
    }
  }
  for (const auto& sub : folder.subfolders) add_folder_tree(*sub, top);
}

void AbbrevIndex::add_string(const Abbreviation& abbrev, const std::string& s, int index,
                             uint32_t top) {
  EntryId id = static_cast<EntryId>(entries_.size());
  entries_.push_back(Entry{&abbrev, &s, index, top});
  PrecedingRule rule = preceding_rule(abbrev.anywhere);
  std::vector<uint32_t> keys(s.size());
  if (mon_case_mode_ignores_case(abbrev.case_mode)) {
    for (size_t i = 0; i < s.size(); ++i) keys[s.size() - 1 - i] = g_utf8_casefold_unit(s, i);
    folded_.insert(keys, rule, id);
    return;
  }
  if (std::memchr(s.data(), 0, s.size())) {
    zero_byte_strings_.emplace_back(id, rule);
    return;
  }
  for (size_t i = 0; i < s.size(); ++i) keys[s.size() - 1 - i] = static_cast<unsigned char>(s[i]);
  exact_.insert(keys, rule, id);
}

bool AbbrevIndex::beats(EntryId entry, size_t length, EntryId best, size_t best_length) const {
  if (best < 0) return true;
  const Entry& a = entries_[entry];
  const Entry& b = entries_[best];
  if (a.top != b.top) return a.top < b.top;
  if (length != best_length) return length > best_length;
  return entry < best;
}

template <typename KeyAt>
void AbbrevIndex::walk(const Trie& trie, std::string_view buffer, KeyAt key_at, EntryId& best,
                       size_t& best_length) const {
  uint32_t node = Trie::kRoot;
  for (size_t n = 1; n <= buffer.size() && trie.has_children(node); ++n) {
    const Trie::Slot* edge = trie.child(node, key_at(buffer.size() - n));
    if (!edge) return;
    node = edge->node;
    const Trie::Ends* ends = trie.ends(*edge);
    if (!ends) continue;
    for (int r = 0; r < kPrecedingRules; ++r) {
      EntryId entry = (*ends)[r];
      // The cheap order test first: what precedes the tail costs a character decode.
      if (entry >= 0 && beats(entry, n, best, best_length) &&
          mon_preceding_text_allows(static_cast<PrecedingRule>(r), buffer, n)) {
        best = entry;
        best_length = n;
      }
    }
  }
}

std::optional<AbbrevMatch> AbbrevIndex::find(std::string_view buffer) const {
  EntryId best = -1;
  size_t best_length = 0;
  walk(exact_, buffer, [&](size_t p) -> uint32_t { return static_cast<unsigned char>(buffer[p]); },
       best, best_length);
  walk(folded_, buffer, [&](size_t p) { return g_utf8_casefold_unit(buffer, p); }, best,
       best_length);
  for (auto [entry, rule] : zero_byte_strings_) {
    const std::string& s = *entries_[entry].string;
    if (s.size() > buffer.size() || !mon_preceding_text_allows(rule, buffer, s.size())) continue;
    if (beats(entry, s.size(), best, best_length) &&
        mon_tail_equals(CASE_SENSITIVE, buffer.substr(buffer.size() - s.size()), s)) {
      best = entry;
      best_length = s.size();
    }
  }
  if (best < 0) return std::nullopt;
  const Entry& e = entries_[best];
  return AbbrevMatch{e.abbreviation, e.string, e.index};
}

}  // namespace tolvan
