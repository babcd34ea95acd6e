// AbbrevMatcher: after each key-down, decides whether the typed text completes an
// abbreviation of the main list, whether it may expand now, waits for a trigger key or a
// word-ending character, or has just been released by one, and keeps the abbreviation that
// waits. Runs on the hook thread under the main-list lock; only the cached preferences are
// set from another thread.
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

// The matcher's answer to one key-down.
struct MatchDecision {
  // An abbreviation is complete: it goes to the output thread now.
  bool complete = false;
  // The key that completed it is kept from the application: a trigger key or a delimiter
  // that released a waiting abbreviation (an immediate abbreviation's own last character
  // passes, and is erased with the rest).
  bool swallow_key = false;
  // The complete abbreviation, when the caller hands it over (MatchUse::kHandOver).
  std::optional<AbbrevMatch> match;
};

// Who asks: the hook, which hands a complete abbreviation over and lets one wait for its
// trigger key or delimiter, or a caller that only wants the answer (a candidate then counts
// as complete whatever its trigger mode, nothing starts waiting and no preview is asked for).
enum class MatchUse { kHandOver, kAnswerOnly };

// What a key is to an abbreviation waiting for a word-ending character.
struct DelimiterCheck {
  enum class Kind {
    kDelimiter,     // one of the delimiter characters
    kNotDelimiter,
    kShift,         // a Shift key: the delimiter may still follow
  };
  Kind kind = Kind::kNotDelimiter;
  bool printable = false;  // a printable delimiter, which went into the key buffer
  int length = 0;          // the delimiter's UTF-8 byte length
};

class AbbrevMatcher {
 public:
  AbbrevMatcher(KeyBuffer& buffer, TooltipScheduler* tooltip);

  // Safe from any thread: the hook thread reads the preferences a key at a time.
  void set_prefs(MatcherPrefs prefs);
  // Back to the defaults (no trigger key, no delimiters) while the preferences are away.
  void drop_prefs();
  // The main list was loaded or replaced (under the main-list lock): the index is rebuilt,
  // the key buffer resized and the waiting abbreviation dropped. Matches handed out earlier
  // point into the old list.
  void library_changed(const FolderList& main);

  // The decision for one key-down of `vk` that produced the UTF-8 text `typed` (already in
  // the key buffer).
  MatchDecision was_abbrev_typed_by_user(uint16_t vk, std::string_view typed,
                                         MatchUse use = MatchUse::kHandOver);

  const std::optional<AbbrevMatch>& waiting() const { return waiting_; }
  void set_waiting(std::optional<AbbrevMatch> m) { waiting_ = std::move(m); }

  // The trigger key that last released an abbreviation: a Shift the dead-key replay pressed
  // stays down for it while the modifiers are recorded.
  uint16_t trigger_vk_pressed() const { return trigger_vk_pressed_; }
  void reset_trigger_vk_pressed() { trigger_vk_pressed_ = 0; }

  // The abbreviation's own trigger mode, or in TextExpander mode the default one.
  int effective_trigger_mode(const Abbreviation& a) const;
  // The abbreviation as the user typed it, read from the key buffer.
  std::optional<std::string> get_typed_abbrev(const AbbrevMatch& m) const;
  // Keys that move the caret or leave the text: what was typed before them is forgotten.
  bool clear_key_buffer_key_pressed(uint16_t vk) const;
  DelimiterCheck key_is_delim(uint16_t vk, std::string_view typed) const;
  // The trigger-key preference names a generic modifier for both of its keys.
  bool vk_is_trigger_vk(uint16_t vk) const;

  // The best candidate for the key buffer as it is (the whole-library search).
  std::optional<AbbrevMatch> find_candidate() const { return index_.find(buffer_.bytes()); }

 private:
  std::shared_ptr<const MatcherPrefs> prefs() const;
  static int effective_trigger_mode(const MatcherPrefs& p, const Abbreviation& a);
  static bool clear_key_buffer_key_pressed(const MatcherPrefs& p, uint16_t vk);
  static DelimiterCheck key_is_delim(const MatcherPrefs& p, uint16_t vk, std::string_view typed);
  static bool vk_is_trigger_vk(const MatcherPrefs& p, uint16_t vk);
  bool tooltip_wanted(const MatcherPrefs& p, const AbbrevMatch& m, uint16_t vk,
                      std::string_view typed) const;

  KeyBuffer& buffer_;
  TooltipScheduler* tooltip_;
  AbbrevIndex index_;
  std::optional<AbbrevMatch> waiting_;
  uint16_t trigger_vk_pressed_ = 0;
  mutable std::mutex prefs_mutex_;
  std::shared_ptr<const MatcherPrefs> prefs_;
};

}  // namespace tolvan
