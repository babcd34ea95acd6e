// A typist for the matching tests: presses keys of the simulated US layout, feeds what the
// layout makes of them to the key buffer and asks the matcher, as the hook thread does for
// every key-down.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/utf.h"
#include "engine/matching/abbrev_matcher.h"
#include "engine/hook/key_buffer.h"
#include "platform/sim/layout.h"
#include "platform/vk_codes.h"

namespace tolvan::testing {

struct RecordingTooltip : TooltipScheduler {
  void hide() override { ++hides; }
  void schedule(const AbbrevMatch& match) override { scheduled.push_back(match); }
  int hides = 0;
  std::vector<AbbrevMatch> scheduled;
};

// The matcher's answer to a key-down, as the tests name it.
enum class Answer { kNotComplete, kComplete, kCompleteSwallow, kSwallowWithoutCompletion };

inline Answer answer_of(const MatchDecision& decision) {
  if (!decision.complete)
    return decision.swallow_key ? Answer::kSwallowWithoutCompletion : Answer::kNotComplete;
  return decision.swallow_key ? Answer::kCompleteSwallow : Answer::kComplete;
}

class Typist {
 public:
  Typist(KeyBuffer& buffer, AbbrevMatcher& matcher) : buffer_(buffer), matcher_(matcher) {}

  // One key-down with the current Shift state; the matcher's answer. `last` gets the match.
  Answer press(uint16_t vk) {
    std::u16string out;
    sim::DeadKeyState dead;
    int n = sim::translate_key(sim::us_layout(), dead, vk, state_, out);
    std::string typed = n > 0 ? u16_to_utf8(out.substr(0, static_cast<size_t>(n))) : "";
    buffer_.key_pressed(typed, vk);
    return ask(vk, typed);
  }
  // Types ASCII text key by key (Shift as the layout needs it); the answer of the last key.
  Answer type(std::string_view text) {
    Answer answer = Answer::kNotComplete;
    for (char c : text) {
      int16_t scan = sim::scan_char(sim::us_layout(), static_cast<char16_t>(c));
      bool shift = (scan >> 8) & 1;
      if (shift) shift_down();
      answer = press(static_cast<uint16_t>(scan & 0xFF));
      if (shift) shift_up();
    }
    return answer;
  }
  // A Shift key-down reaches the matcher too (it makes no text).
  Answer shift_down() {
    state_[vk::Shift] = state_[vk::LShift] = kKeyDownBit;
    return ask(vk::LShift, "");
  }
  void shift_up() { state_[vk::Shift] = state_[vk::LShift] = 0; }

  // The matcher asked for a key-down whose text is in the key buffer already; `last` gets
  // the match.
  Answer ask(uint16_t vk, std::string_view typed) {
    MatchDecision decision = matcher_.was_abbrev_typed_by_user(vk, typed);
    last = decision.match;
    return answer_of(decision);
  }

  std::optional<AbbrevMatch> last;

 private:
  KeyBuffer& buffer_;
  AbbrevMatcher& matcher_;
  KeyStateArray state_{};
};

}  // namespace tolvan::testing
