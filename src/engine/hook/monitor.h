// Monitor: what the hook thread does with every key event and mouse press (the life of one
// keystroke), and the requests it serves: the key buffer fed, matching asked, a completed
// abbreviation handed to the output thread, dead keys replayed, modifiers and Caps Lock
// repaired around replacements, interactive input counted.
//
// Key events arrive on whichever thread the platform delivers them; the monitor serialises
// them with the requests under one recursive lock (events the monitor sends itself come
// back through it before the send returns).
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "engine/matching/abbrev_matcher.h"
#include "engine/hook/caps_lock.h"
#include "engine/hook/dead_keys.h"
#include "engine/hook/hook_side.h"
#include "engine/output/interactive_input_state.h"
#include "engine/output/key_sender.h"
#include "engine/hook/key_buffer.h"
#include "engine/hook/modifier_keys.h"
#include "engine/tooltip/tooltip.h"
#include "engine/typed_abbrev_info.h"
#include "library/library.h"
#include "platform/platform.h"

namespace tolvan {

class Monitor {
 public:
  using HandOff = std::function<void(std::unique_ptr<TypedAbbrevInfo>)>;

  // `hand_off` gives a completed abbreviation to the output thread; `tooltip` may be null.
  Monitor(Platform platform, Library& library, InteractiveInputState& ii, HandOff hand_off,
          Tooltip* tooltip);

  // The keyboard hook's callback: whether the key goes on to the application.
  HookAnswer on_key(const KeyEvent& event);
  // The mouse hook's: a click moves the caret, so what was typed is forgotten.
  void on_mouse(const MouseEvent& event);

  // One request of the hook thread's queue. The answer says whether a hook request left the
  // hook as asked, and is true for Quit and the library requests; other requests answer false.
  bool serve(MonMessage message);
  // The abbreviation menu inserts `abbreviation` without typing: nothing is erased.
  void insert_abbrev(std::unique_ptr<Abbreviation> abbreviation);

  // HookSide's work, called from the output thread.
  // Before a replacement: the hook is temporarily disabled, so that the output is not
  // matched, and the modifiers the user holds are recorded and released, so that they do
  // not change the typed keys. `held_trigger` is a modifier key whose press was the
  // trigger and reached the application anyway (a hook that cannot swallow): it counts as
  // held although the key state does not show it yet, so it is let up before the typing.
  void before_replace(uint16_t held_trigger = 0);
  void caps_lock_preppy();

  // The preferences were (re)loaded: matching and the window rule read them from here on.
  void set_prefs(Settings& prefs);
  // The main list is about to be replaced or freed (under its lock, on the thread that does
  // it). The hook thread hears of the new list only later, so the next key rebuilds what
  // points into the list first.
  void main_list_freeing() { main_list_replaced_ = true; }
  bool temp_disabled() const { return temp_disable_.load(); }
  void set_temp_disable(bool on) { temp_disable_.store(on); }

 private:
  struct Keystroke;
  // A step's verdict: the key's answer when the step settles it, nothing when the key goes
  // on to the next step.
  using Settled = std::optional<HookAnswer>;

  // The life of one key event, a step per stage.
  HookAnswer key_event(const KeyEvent& event);
  // Alt, Ctrl and Tab for Alt+Tab, and the Shift key the user pressed last: every event.
  void track_alt_tab_and_shift(const KeyEvent& event);
  // While a replacement is output the hook only follows the user's own modifiers and Caps
  // Lock, so that they are restored as the user left them.
  HookAnswer follow_user_while_replacing(const KeyEvent& event);
  // A caret key during interactive input keeps the selected default text, which then
  // counts as typed.
  void note_caret_key_in_input(const KeyEvent& event);
  // While a dead key is held back, Shift and AltGr presses belong to it and are held back
  // too; the replay's own key-down passes untouched.
  Settled dead_key_in_progress(const KeyEvent& event);
  // Nothing typed into a password field is remembered, and what came before is forgotten
  // too, so that no abbreviation is completed out of a secret or across one.
  Settled keep_secret_field_private();
  // A key in another window than the last starts afresh: what was typed is forgotten, and
  // an interactive input ends unless it may go on in another window.
  Settled follow_window_change(Keystroke& key);
  // Escape abandons an interactive input; the key goes on to the application.
  Settled abandon_input_on_escape(const Keystroke& key);
  // Key-downs become text with the window's layout (never an Alt+navigation command); a
  // dead key is held back where translating it consumed it.
  Settled translate(Keystroke& key);
  Settled hold_back_dead_key(const Keystroke& key);
  // What the key typed goes into the key buffer, or during interactive input into the
  // count of characters the user typed.
  void record_typed(Keystroke& key);
  // During interactive input Tab continues the expansion (and is not typed) and the
  // keys that leave the text forget what the key buffer held.
  Settled interactive_input(Keystroke& key);
  // Asks the matcher; a complete abbreviation is handed over.
  void match(Keystroke& key);
  // The hook steps aside (temporary disable on, modifiers released) and the output thread
  // gets the record of the complete abbreviation.
  void hand_over(const MatchDecision& decision, Keystroke& key);
  std::unique_ptr<TypedAbbrevInfo> hand_over_record(const MatchDecision& decision,
                                                    const Keystroke& key);
  // A dead key held back by an earlier key goes to the application again, followed by
  // this key, which the replay sends anew: the original is swallowed.
  HookAnswer replay_dead_key(const Keystroke& key);

  void clear_buffer_and_waiting();
  void hide_tooltip();

  // Matching asks for the preview; the tooltip gets the abbreviation as it was typed.
  class TooltipLink final : public TooltipScheduler {
   public:
    TooltipLink(Monitor& monitor, Tooltip* tooltip) : monitor_(monitor), tooltip_(tooltip) {}
    void hide() override;
    void schedule(const AbbrevMatch& match) override;

   private:
    Monitor& monitor_;
    Tooltip* tooltip_;
  };

  Platform platform_;
  Library& library_;
  InteractiveInputState& ii_;
  HandOff hand_off_;
  TooltipLink tooltip_;
  KeySender keys_;

  std::recursive_mutex mutex_;
  KeyBuffer buffer_;
  AbbrevMatcher matcher_;
  DeadKeys dead_;
  ModifierKeys modifiers_;
  ShiftMemory shifts_;
  CapsLock caps_;
  std::atomic<bool> temp_disable_{false};
  std::atomic<bool> main_list_replaced_{false};
  MatcherPrefs prefs_;
  std::atomic<bool> cont_window_changed_{true};
  std::atomic<uint16_t> trigger_vk_pressed_{0};
  bool keyboard_installed_ = false;
  bool mouse_installed_ = false;

  KeyMessage alt_state_ = KeyMessage::SysKeyUp;
  KeyMessage ctrl_state_ = KeyMessage::KeyUp;
  bool tab_while_alt_ = false;
  WindowId last_focused_ = 0;
};

}  // namespace tolvan
