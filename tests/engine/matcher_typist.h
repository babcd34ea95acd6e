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

class Typist {
 public:
  Typist(KeyBuffer& buffer, AbbrevMatcher& matcher) : buffer_(buffer), matcher_(matcher) {}

  // One key-down with the current Shift state; the matcher's answer. `last` gets the match.
  int press(uint16_t vk) {
    std::u16string out;
    sim::DeadKeyState dead;
    int n = sim::translate_key(sim::us_layout(), dead, vk, state_, out);
    std::string typed = n > 0 ? u16_to_utf8(out.substr(0, static_cast<size_t>(n))) : "";
    buffer_.key_pressed(typed, vk);
    return matcher_.was_abbrev_typed_by_user(vk, typed, &last);
  }
  // Types ASCII text key by key (Shift as the layout needs it); the answer of the last key.
  int type(std::string_view text) {
    int answer = 0;
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
  int shift_down() {
    state_[vk::Shift] = state_[vk::LShift] = kKeyDownBit;
    return matcher_.was_abbrev_typed_by_user(vk::LShift, "", &last);
  }
  void shift_up() { state_[vk::Shift] = state_[vk::LShift] = 0; }

  std::optional<AbbrevMatch> last;

 private:
  KeyBuffer& buffer_;
  AbbrevMatcher& matcher_;
  KeyStateArray state_{};
};

}  // namespace tolvan::testing
