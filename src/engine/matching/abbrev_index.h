// AbbrevIndex: finds the abbreviation the key buffer's tail completes without walking the
// library on every key. Two tries over the abbreviation strings read backwards, one by
// bytes for the exact case mode and one by g_utf8_casefold_unit for the case-ignoring
// modes, so that following the key buffer from its newest byte visits exactly the strings
// that end it. The keys are per byte position, not per character, exactly the values
// g_utf8_strncasecmp compares: a continuation byte is a key of its own, so "İ" (two bytes)
// never meets "i" (one byte) although both lower-case to "i". Each trie node keeps, for each rule about the preceding text, the first
// string in walk order that ends there; the winner is then the one the walk would choose
// (mon_walk_find_best_match): first top-level folder with a candidate, longest string, first
// in walk order.
//
// The index points into the folder list it was built from; rebuild it whenever that list
// changes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/matching/abbrev_match.h"
#include "engine/matching/abbrev_walk.h"
#include "library/model.h"

namespace tolvan {

class AbbrevIndex {
 public:
  void build(const FolderList& main);
  void clear();
  // The same answer as mon_walk_find_best_match(main, buffer).
  std::optional<AbbrevMatch> find(std::string_view buffer) const;

 private:
  struct Entry {
    const Abbreviation* abbreviation;
    const std::string* string;
    int index;     // in its folder's list
    uint32_t top;  // which top-level folder's tree it belongs to
  };
  // Entry numbers are walk order.
  using EntryId = int32_t;

  // The trie's edges in one open-addressing table, each slot also telling whether strings
  // end at the node it leads to: following the key buffer back costs one memory access per
  // byte even when the library is far larger than the caches, and only the few nodes where
  // strings end pay for the entries kept there.
  class Trie {
   public:
    static constexpr uint32_t kRoot = 0;
    // The first entry in walk order ending at a node, per PrecedingRule; -1 for none.
    using Ends = std::array<EntryId, kPrecedingRules>;
    struct Slot {
      static constexpr uint32_t kEmpty = UINT32_MAX;
      static constexpr uint32_t kNoEnds = UINT32_MAX;
      uint32_t parent = kEmpty;
      uint32_t key = 0;
      uint32_t node = 0;        // the child
      uint32_t ends = kNoEnds;  // what ends at the child: an index into the trie's Ends
    };

    Trie();
    // Adds `entry` under the keys of its string, newest (last) key first.
    void insert(const std::vector<uint32_t>& reversed_keys, PrecedingRule rule, EntryId entry);
    // The edge from `node` by `key`, or nullptr.
    const Slot* child(uint32_t node, uint32_t key) const;
    bool has_children(uint32_t node) const { return has_children_[node]; }
    // What ends at the node `edge` leads to, or nullptr when no string ends there.
    const Ends* ends(const Slot& edge) const {
      return edge.ends == Slot::kNoEnds ? nullptr : &ends_[edge.ends];
    }
    // Gives back what growing left unused, once every string is in.
    void shrink_to_fit();

   private:
    size_t slot_of(uint32_t parent, uint32_t key) const;
    void grow();
    std::vector<Slot> slots_;        // size a power of two, at most three quarters full
    std::vector<bool> has_children_;  // by node
    std::vector<Ends> ends_;
    size_t used_ = 0;
  };

  void add_folder_tree(const Folder& folder, uint32_t top);
  void add_string(const Abbreviation& abbrev, const std::string& s, int index, uint32_t top);
  // Follows `trie` back from the end of `buffer`; `key_at(p)` is the key of byte position p.
  template <typename KeyAt>
  void walk(const Trie& trie, std::string_view buffer, KeyAt key_at, EntryId& best,
            size_t& best_length) const;
  // Whether `entry`, ending `length` bytes back, wins over `best` (none when negative).
  bool beats(EntryId entry, size_t length, EntryId best, size_t best_length) const;

  std::vector<Entry> entries_;
  Trie exact_;
  Trie folded_;
  // Exact strings holding a zero byte, where the comparison stops early: few enough to be
  // compared one by one.
  std::vector<std::pair<EntryId, PrecedingRule>> zero_byte_strings_;
};

}  // namespace tolvan
