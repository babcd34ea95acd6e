// X11Input: synthetic input through XTest on a connection of its own. Keys are pressed by
// the key that makes the virtual key in the current group; a Unicode character is typed on
// a spare key code (one the keymap leaves empty) bound to the character's keysym at every
// level, so what the user holds cannot change it. Bindings stay until the spare key is
// needed for another character or the input is closed, because an application reads the
// keymap only when it handles the key.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/input_synth.h"
#include "platform/x11/application_ping.h"
#include "platform/x11/x11_injections.h"
#include "platform/x11/x11_keyboard.h"

struct _XDisplay;

namespace tolvan::x11 {

// Spare key codes, each bound to one character: the least recently used one is rebound.
class SpareKeys {
 public:
  using Clock = std::chrono::steady_clock;
  // Applications translate a key code when they handle its event, and some (GTK) read the
  // keymap afresh then: a key bound anew too soon would reach them as its new character.
  static constexpr std::chrono::milliseconds kReuseGap{250};

  explicit SpareKeys(std::vector<KeyCode> codes)
      : codes_(std::move(codes)), bound_(codes_.size(), 0), used_(codes_.size()) {}
  struct Pick {
    KeyCode keycode = 0;
    bool rebind = false;           // the key must be bound to the character first
    Clock::time_point not_before;  // and not before then
  };
  // nullopt when there are no spare keys at all.
  std::optional<Pick> pick(uint32_t code_point, Clock::time_point now);
  const std::vector<KeyCode>& codes() const { return codes_; }

 private:
  std::vector<KeyCode> codes_;
  std::vector<uint32_t> bound_;
  std::vector<Clock::time_point> used_;
  size_t next_ = 0;
};

class X11Input final : public InputSynth {
 public:
  X11Input(X11Keyboard& keyboard, InjectionLedger& ledger);
  ~X11Input() override;
  bool ok() const { return display_ != nullptr; }

  void send_key(uint16_t vk, uint16_t scan, uint32_t flags) override;
  bool post_char(WindowId window, char16_t unit) override;
  void pace_keys(bool on, WindowId window) override;
  void prepare_characters(const std::u32string& characters) override;

 private:
  void fake(KeyCode keycode, bool down, const InjectedKey& as);
  void type_code_point(uint32_t cp, bool down, char16_t unit);

  X11Keyboard& keyboard_;
  InjectionLedger& ledger_;
  _XDisplay* display_ = nullptr;
  std::mutex mutex_;
  SpareKeys spares_{{}};
  char16_t high_surrogate_ = 0;
  KeyCode unicode_key_down_ = 0;
  // Paced keys (see InputSynth::pace_keys). LibreOffice's own X11 look takes a release and a
  // press of the same key with the same server time for auto-repeat: a key pressed again
  // waits this long after the server took its release. A press of another kind of key than
  // the last (a character key, or a key that types none or a character of a spare key)
  // waits the settle time, and twice as long again as the application took to answer a ping
  // just then: LibreOffice needed 15 ms to take in what came before on an idle machine, and
  // up to 100 ms with every core busy, where its answers to pings came late too.
  enum class KeyKind { Modifier, Character, Other };  // last_kind_ is Modifier until another key went
  static KeyKind kind_of(const InjectedKey& key);
  void pace(KeyCode keycode, bool down, const InjectedKey& as);
  static constexpr std::chrono::milliseconds kSameKeyGap{2};
  static constexpr std::chrono::milliseconds kKindChangeSettle{25};
  static constexpr std::chrono::milliseconds kPingBound{500};
  static constexpr int kBusyFactor = 2;
  bool paced_ = false;
  ApplicationPing ping_{nullptr};
  WindowId paced_window_ = 0;  // whose application is pinged
  KeyKind last_kind_ = KeyKind::Modifier;
  KeyCode last_released_ = 0;
  // How long applications get to read a keymap changed for the characters to come.
  static constexpr std::chrono::milliseconds kRebindSettle{20};
};

}  // namespace tolvan::x11
