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

#include "core/utf.h"
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

  // The platform's callbacks (mon_keyboard_LL_hook_func, mon_mouse_LL_hook_func).
  HookAnswer on_key(const KeyEvent& event);
  void on_mouse(const MouseEvent& event);

  // The hook thread's requests that need no platform hook calls (MonMessage);
  // answers 1 where the request has an answer.
  int serve(MonMessage message);
  // WM_MON_INSERT_ABBREV: the abbreviation menu inserts `abbreviation` without typing.
  void insert_abbrev(std::unique_ptr<Abbreviation> abbreviation);

  // HookSide's work, called from the output thread.
  // mon_do_before_replace_preppy. `held_trigger` is a modifier key whose press was the
  // trigger and reached the application anyway (a hook that cannot swallow): it counts as
  // held although the key state does not show it yet, so it is let up before the typing.
  void before_replace(uint16_t held_trigger = 0);
  void caps_lock_preppy();

  void set_prefs(Settings& prefs);  // mon_prefs_reloaded
  bool temp_disabled() const { return temp_disable_.load(); }
  void set_temp_disable(bool on) { temp_disable_.store(on); }

 private:
  HookAnswer key_event(const KeyEvent& event);
  void track(const KeyEvent& event);
  // Steps 19-20 for a completed abbreviation outside interactive input.
  void hand_off_match(const AbbrevMatch& match, const KeyEvent& event, std::string_view typed,
                      bool dead_pending, bool swallow);
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
  MatcherPrefs prefs_;
  std::atomic<bool> cont_window_changed_{true};
  std::atomic<uint16_t> trigger_vk_pressed_{0};
  bool keyboard_installed_ = false;
  bool mouse_installed_ = false;

  KeyMessage alt_state_ = KeyMessage::SysKeyUp;
  KeyMessage ctrl_state_ = KeyMessage::KeyUp;
  bool tab_while_alt_ = false;
  WindowId last_focused_ = 0;
  WindowId typed_window_ = 0;
};

}  // namespace tolvan
