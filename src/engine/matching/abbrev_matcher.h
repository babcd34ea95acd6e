// AbbrevMatcher: after each key-down, decides whether the typed text completes an
// abbreviation of the main list, whether it may expand now, waits for a trigger key or a
// word-ending character, or has just been released by one (mon_was_abbrev_typed_by_user),
// and keeps the abbreviation that waits. Runs on the hook thread under the main-list lock;
// only the cached preferences are set from another thread.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "engine/matching/abbrev_index.h"
#include "engine/matching/abbrev_match.h"
#include "engine/matching/matcher_prefs.h"
#include "engine/hook/key_buffer.h"
#include "engine/tooltip/tooltip_scheduler.h"
#include "library/model.h"

namespace tolvan {

// Bits of mon_was_abbrev_typed_by_user's answer.
inline constexpr int kAbbrevComplete = 1;
inline constexpr int kSwallowKey = 8;
inline constexpr int kAbbrevNotComplete = 2;

// mon_key_is_delim's answers.
inline constexpr int kKeyIsDelimiter = 0;
inline constexpr int kKeyIsNotDelimiter = 1;
inline constexpr int kKeyIsShift = 2;

class AbbrevMatcher {
 public:
  AbbrevMatcher(KeyBuffer& buffer, TooltipScheduler* tooltip);

  // mon_prefs_reloaded; safe from any thread.
  void set_prefs(MatcherPrefs prefs);
  // mon_prefs_freed: back to the defaults (no trigger key, no delimiters).
  void drop_prefs();
  // The main list was loaded or replaced (WM_MON_LIBRARY_CHANGED, under the main-list
  // lock): the index is rebuilt, the key buffer resized and the waiting abbreviation
  // dropped. Matches handed out earlier point into the old list.
  void library_changed(const FolderList& main);

  // mon_was_abbrev_typed_by_user: kAbbrevComplete (the key passes), kAbbrevComplete |
  // kSwallowKey, or kAbbrevNotComplete. `out` (may be null) is reset and holds the match
  // only for a complete answer. `typed` is the UTF-8 text the key produced.
  int was_abbrev_typed_by_user(uint16_t vk, std::string_view typed,
                               std::optional<AbbrevMatch>* out);

  const std::optional<AbbrevMatch>& waiting() const { return waiting_; }
  void set_waiting(std::optional<AbbrevMatch> m) { waiting_ = std::move(m); }  // mon_set_abbrev_waiting_to_expand

  // g_trigger_vk_pressed: the trigger key that last released an abbreviation.
  uint16_t trigger_vk_pressed() const { return trigger_vk_pressed_; }
  void reset_trigger_vk_pressed() { trigger_vk_pressed_ = 0; }

  int effective_trigger_mode(const Abbreviation& a) const;
  // mon_get_typed_abbrev: the abbreviation as the user typed it, read from the key buffer.
  std::optional<std::string> get_typed_abbrev(const AbbrevMatch& m) const;
  // mon_clear_key_buffer_key_pressed: keys that move the caret or leave the text.
  bool clear_key_buffer_key_pressed(uint16_t vk) const;
  // mon_key_is_delim: kKeyIsDelimiter (then `printable` and `length` describe it),
  // kKeyIsNotDelimiter or kKeyIsShift. Either out-pointer may be null.
  int key_is_delim(uint16_t vk, std::string_view typed, bool* printable, int* length) const;
  // mon_vk_is_trigger_vk.
  bool vk_is_trigger_vk(uint16_t vk) const;

  // The best candidate for the key buffer as it is (the whole-library search).
  std::optional<AbbrevMatch> find_candidate() const { return index_.find(buffer_.bytes()); }

 private:
  std::shared_ptr<const MatcherPrefs> prefs() const;
  static int effective_trigger_mode(const MatcherPrefs& p, const Abbreviation& a);
  static bool clear_key_buffer_key_pressed(const MatcherPrefs& p, uint16_t vk);
  static int key_is_delim(const MatcherPrefs& p, uint16_t vk, std::string_view typed,
                          bool* printable, int* length);
  static bool vk_is_trigger_vk(const MatcherPrefs& p, uint16_t vk);
  bool tooltip_wanted(const MatcherPrefs& p, const AbbrevMatch& m, uint16_t vk,
                      std::string_view typed) const;

  KeyBuffer& buffer_;
  TooltipScheduler* tooltip_;
  AbbrevIndex index_;
  std::optional<AbbrevMatch> waiting_;  // g_abbrev_waiting_to_expand
  uint16_t trigger_vk_pressed_ = 0;
  mutable std::mutex prefs_mutex_;
  std::shared_ptr<const MatcherPrefs> prefs_;
};

}  // namespace tolvan
