// The life of one key event on the hook thread, step by step, and the requests the hook
// thread serves.
#include "engine/hook/monitor.h"

#include "core/utf.h"


#include "core/strings.h"
#include "library/folder_tree.h"
#include "platform/vk_codes.h"

namespace tolvan {
namespace {

bool is_alt(uint16_t key) { return key == vk::LMenu || key == vk::RMenu; }

// Navigation keys that Alt turns into commands; they are never translated.
bool is_alt_navigation(uint16_t key) {
  switch (key) {
    case vk::Down: case vk::Up: case vk::Left: case vk::Right: case vk::Next: case vk::Prior:
    case vk::End: case vk::Home: case vk::Insert: case vk::Delete:
      return true;
    default:
      return false;
  }
}

// What a key produced, cut to whole characters within 63 bytes, as matching sees it.
void cut_typed_text(std::string& text) {
  while (text.size() > 63) {
    text.resize(utf8_previous_char_start(text, text.size()).value_or(0));
  }
}

char32_t first_char(std::string_view text) {
  const char32_t c = utf8_first_char(text);
  return c == '\r' ? U'\n' : c;
}

}  // namespace

Monitor::Monitor(Platform platform, Library& library, InteractiveInputState& ii,
                 HandOff hand_off, Tooltip* tooltip)
    : platform_(platform),
      library_(library),
      ii_(ii),
      hand_off_(std::move(hand_off)),
      tooltip_(*this, tooltip),
      keys_(platform),
      matcher_(buffer_, &tooltip_) {}

void Monitor::TooltipLink::hide() {
  if (tooltip_) tooltip_->hide();
}

void Monitor::TooltipLink::schedule(const AbbrevMatch& match) {
  if (tooltip_)
    tooltip_->schedule(*match.abbreviation, monitor_.matcher_.get_typed_abbrev(match).value_or(""));
}

void Monitor::set_prefs(Settings& prefs) {
  std::lock_guard lock(mutex_);
  prefs_ = MatcherPrefs::from(prefs);
  matcher_.set_prefs(prefs_);
  cont_window_changed_ = prefs.get_int("cont_window_changed") != 0;
}

void Monitor::hide_tooltip() { tooltip_.hide(); }

void Monitor::clear_buffer_and_waiting() {
  buffer_.clear();
  matcher_.set_waiting(std::nullopt);
}

// One key event on its way through the steps of key_event.
struct Monitor::Keystroke {
  Keystroke(const KeyEvent& e, KeyStateArray& s) : event(e), state(s) {}

  const KeyEvent& event;
  KeyStateArray& state;  // the keyboard as the key found it
  WindowId window = 0;   // where it was typed
  LayoutId layout = 0;
  std::string typed;     // the text it produced; cut to what matching looks at once recorded
  // Its answer, unless the replay of a dead key takes it over.
  HookAnswer answer = HookAnswer::Pass;
  // It released an abbreviation as its delimiter, which the output types again.
  bool delimiter_handed_over = false;
};

HookAnswer Monitor::on_key(const KeyEvent& event) {
  std::lock_guard lock(mutex_);
  return key_event(event);
}

// Flattened: the steps are separate for the reader and one function for the processor, as
// this runs for every key the user types.
[[gnu::flatten]] HookAnswer Monitor::key_event(const KeyEvent& event) {
  track_alt_tab_and_shift(event);
  if (temp_disable_) return follow_user_while_replacing(event);
  note_caret_key_in_input(event);
  if (Settled settled = dead_key_in_progress(event)) return *settled;
  if (Settled settled = keep_secret_field_private()) return *settled;

  // The main list stays as it is until this key has been matched.
  auto library_lock = library_.lock_main_list();
  if (main_list_replaced_.exchange(false)) matcher_.library_changed(library_.main_list);
  std::optional<KeyStateArray> state = platform_.keyboard->keyboard_state();
  if (!state) return HookAnswer::Pass;  // nothing to translate with: the key goes on unseen
  Keystroke key(event, *state);
  if (Settled settled = follow_window_change(key)) return *settled;
  if (Settled settled = abandon_input_on_escape(key)) return *settled;
  if (Settled settled = translate(key)) return *settled;
  if (ii_.mode_enabled()) {
    if (Settled settled = interactive_input(key)) return *settled;
  } else {
    match(key);
  }
  return replay_dead_key(key);
}

void Monitor::track_alt_tab_and_shift(const KeyEvent& event) {
  switch (event.vk) {
    case vk::LMenu: case vk::RMenu:
      alt_state_ = event.message;
      break;
    case vk::LControl: case vk::RControl:
      ctrl_state_ = event.message;
      break;
    case vk::Tab:
      if (alt_state_ == KeyMessage::SysKeyDown && event.message == KeyMessage::SysKeyDown &&
          (ctrl_state_ == KeyMessage::KeyUp || ctrl_state_ == KeyMessage::SysKeyUp))
        tab_while_alt_ = true;
      break;
    case vk::LShift: case vk::RShift:
      shifts_.last_physical = event.vk;
      break;
    default:
      break;
  }
}

HookAnswer Monitor::follow_user_while_replacing(const KeyEvent& event) {
  if (event.vk != vk::Capital) return modifiers_.follow_user(event, keys_, platform_.hook->can_swallow());
  caps_.count_event();
  return HookAnswer::Pass;
}

void Monitor::note_caret_key_in_input(const KeyEvent& event) {
  if (ii_.mode_enabled() && mon_vk_will_unselect_selected_text(event.vk))
    ii_.set_unselect_key_pressed_first(true);
}

Monitor::Settled Monitor::dead_key_in_progress(const KeyEvent& event) {
  if (dead_.absorb(event, *platform_.keyboard)) return HookAnswer::Swallow;
  if (dead_.take_ignored(event)) return HookAnswer::Pass;
  return std::nullopt;
}

Monitor::Settled Monitor::keep_secret_field_private() {
  if (ii_.mode_enabled() || !platform_.windows->focus_is_secret()) return std::nullopt;
  clear_buffer_and_waiting();
  hide_tooltip();
  return HookAnswer::Pass;
}

Monitor::Settled Monitor::follow_window_change(Keystroke& key) {
  key.window = platform_.windows->foreground();
  key.layout = platform_.keyboard->layout_of(key.window);
  // While Alt+Tab runs, the window that keeps the focus is not known yet: every key counts
  // as typed in a new window, up to the Alt release.
  const bool alttab = tab_while_alt_;
  if (is_alt(key.event.vk) && key.event.up()) tab_while_alt_ = false;
  if (alttab) last_focused_ = 0;
  if (key.window == last_focused_) return std::nullopt;
  if (!alttab) last_focused_ = key.window;
  clear_buffer_and_waiting();
  if (ii_.mode_enabled() && !cont_window_changed_) {
    ii_.set_ended_abruptly(true);
    return HookAnswer::Pass;
  }
  return std::nullopt;
}

Monitor::Settled Monitor::abandon_input_on_escape(const Keystroke& key) {
  if (!ii_.mode_enabled() || key.event.vk != vk::Escape) return std::nullopt;
  ii_.set_ended_abruptly(true);
  return HookAnswer::Pass;
}

Monitor::Settled Monitor::translate(Keystroke& key) {
  const KeyEvent& event = key.event;
  if (!event.down()) return HookAnswer::Pass;
  if ((key.state[vk::Menu] & kKeyDownBit) && is_alt_navigation(event.vk)) return HookAnswer::Pass;
  KeyboardState& kb = *platform_.keyboard;
  dead_.adjust_shift(key.state, kb);
  std::u16string units;
  const int n = kb.to_unicode(event.vk, event.scan, key.state, units, key.layout);
  // A second dead key while one is held back is not held back itself: it types nothing.
  if (n == -1 && !dead_.pending()) return hold_back_dead_key(key);
  if (n > 0) {
    key.typed = u16_to_utf8(std::u16string_view(units).substr(0, static_cast<size_t>(n)));
    record_typed(key);
  }
  return std::nullopt;
}

Monitor::Settled Monitor::hold_back_dead_key(const Keystroke& key) {
  // Where translation leaves the application's composition alone, the application
  // composes the accent itself and the composed key is what the buffer gets.
  if (!platform_.keyboard->translation_consumes_dead_keys()) return HookAnswer::Pass;
  dead_.record(key.event, key.state, *platform_.keyboard);
  return HookAnswer::Swallow;
}

void Monitor::record_typed(Keystroke& key) {
  if (!ii_.mode_enabled())
    buffer_.key_pressed(key.typed, key.event.vk);
  else
    ii_.add_chars_typed(static_cast<int>(utf8_length(key.typed)));
  cut_typed_text(key.typed);
}

Monitor::Settled Monitor::interactive_input(Keystroke& key) {
  if (key.event.vk == vk::Tab) {
    // The continue key: its own character was counted above.
    hide_tooltip();
    if (!dead_.pending() && ii_.chars_typed() > 0) ii_.add_chars_typed(-1);
    ii_.set_continue_key_pressed(true);
    return HookAnswer::Swallow;
  }
  if (matcher_.clear_key_buffer_key_pressed(key.event.vk)) clear_buffer_and_waiting();
  hide_tooltip();
  return std::nullopt;
}

void Monitor::match(Keystroke& key) {
  // The left Ctrl that AltGr sends ahead of itself belongs to the character being typed:
  // taken as a press of Ctrl, it would release a trigger-key abbreviation in the middle of
  // that character.
  if (key.event.altgr_control()) return;
  const MatchDecision decision = matcher_.was_abbrev_typed_by_user(key.event.vk, key.typed);
  if (decision.complete && decision.match) {
    hand_over(decision, key);
    return;
  }
  if (matcher_.clear_key_buffer_key_pressed(key.event.vk)) {
    clear_buffer_and_waiting();
    hide_tooltip();
  }
  if (!matcher_.waiting()) hide_tooltip();
}

void Monitor::hand_over(const MatchDecision& decision, Keystroke& key) {
  hide_tooltip();
  key.answer = decision.swallow_key ? HookAnswer::Swallow : HookAnswer::Pass;
  const int mode = matcher_.effective_trigger_mode(*decision.match->abbreviation);
  key.delimiter_handed_over =
      mode == TRIGGER_WORD_ENDING || (mode == TRIGGER_KEY && prefs_.textexpander_mode);
  trigger_vk_pressed_ = matcher_.trigger_vk_pressed();
  std::unique_ptr<TypedAbbrevInfo> info = hand_over_record(decision, key);
  const KeyEvent& event = key.event;
  const bool modifier_got_through = decision.swallow_key && event.down() &&
                                    ModifierKeys::is_modifier_vk(event.vk) &&
                                    !platform_.hook->can_swallow();
  before_replace(modifier_got_through ? event.vk : 0);
  hand_off_(std::move(info));
}

std::unique_ptr<TypedAbbrevInfo> Monitor::hand_over_record(const MatchDecision& decision,
                                                           const Keystroke& key) {
  const AbbrevMatch& match = *decision.match;
  auto info = std::make_unique<TypedAbbrevInfo>();
  info->abbreviation = abbr_duplicate_abbrev(*match.abbreviation, nullptr);
  info->typed = matcher_.get_typed_abbrev(match).value_or("");
  info->window = key.window;
  if (key.delimiter_handed_over) {
    info->delimiter_key = key.event.vk;
    info->delimiter_shift =
        platform_.keyboard->async_down(vk::LShift) || platform_.keyboard->async_down(vk::RShift);
    info->delimiter_char = first_char(key.typed);
    info->dead_key = dead_.pending();
  }
  // Where keys cannot be swallowed, this one has typed its character already.
  info->swallowed_key_typed_char =
      decision.swallow_key && mon_gunichar_isprint(first_char(key.typed));
  return info;
}

HookAnswer Monitor::replay_dead_key(const Keystroke& key) {
  if (!dead_.pending()) return key.answer;
  dead_.replay(key.event, key.delimiter_handed_over, keys_, *platform_.keyboard, shifts_);
  return HookAnswer::Swallow;
}

void Monitor::on_mouse(const MouseEvent& event) {
  if (!event.down) return;
  platform_.windows->focus_may_have_moved();
  std::lock_guard lock(mutex_);
  clear_buffer_and_waiting();
  hide_tooltip();
}

void Monitor::before_replace(uint16_t held_trigger) {
  std::lock_guard lock(mutex_);
  temp_disable_ = true;
  modifiers_.record(keys_, *platform_.keyboard, shifts_, trigger_vk_pressed_);
  if (held_trigger != 0) modifiers_.update_phys_state(held_trigger, true);
  modifiers_.keyup_all(keys_);
}

void Monitor::caps_lock_preppy() {
  caps_.preppy(keys_, *platform_.keyboard);
  trigger_vk_pressed_ = 0;
}

bool Monitor::serve(MonMessage message) {
  // The state read for a restore must include every key the output thread sent before.
  if (message == MonMessage::RestoreModifiers || message == MonMessage::RestoreCapsLock)
    platform_.hook->flush();
  std::lock_guard lock(mutex_);
  switch (message) {
    case MonMessage::InstallKeyboardHook:
      if (!keyboard_installed_)
        keyboard_installed_ =
            platform_.hook->install_keyboard([this](const KeyEvent& e) { return on_key(e); }).ok();
      return keyboard_installed_;
    case MonMessage::UninstallKeyboardHook:
      if (keyboard_installed_ && platform_.hook->uninstall_keyboard().ok()) keyboard_installed_ = false;
      return !keyboard_installed_;
    case MonMessage::InstallMouseHook:
      if (!mouse_installed_)
        mouse_installed_ =
            platform_.hook->install_mouse([this](const MouseEvent& e) { on_mouse(e); }).ok();
      return mouse_installed_;
    case MonMessage::UninstallMouseHook:
      if (mouse_installed_ && platform_.hook->uninstall_mouse().ok()) mouse_installed_ = false;
      return !mouse_installed_;
    case MonMessage::RestoreModifiers:
      modifiers_.restore(keys_, *platform_.keyboard);
      return false;
    case MonMessage::ClearKeyBuffer:
      clear_buffer_and_waiting();
      return false;
    case MonMessage::AdjustKeyBuffer:
    case MonMessage::LibraryChanged: {
      auto library_lock = library_.lock_main_list();
      main_list_replaced_ = false;
      matcher_.library_changed(library_.main_list);
      return true;
    }
    case MonMessage::RestoreCapsLock:
      caps_.restore(keys_, *platform_.keyboard);
      return false;
    case MonMessage::EnableHook:
      temp_disable_ = false;
      return false;
    case MonMessage::Quit:
      return true;
    default:
      return false;
  }
}

void Monitor::insert_abbrev(std::unique_ptr<Abbreviation> abbreviation) {
  if (!abbreviation) return;
  std::lock_guard lock(mutex_);
  auto info = std::make_unique<TypedAbbrevInfo>();
  info->typed = abbreviation->abbreviations.empty() ? "" : abbreviation->abbreviations.front();
  info->abbreviation = std::move(abbreviation);
  info->window = platform_.windows->foreground();
  info->delimiter_key = kDelimiterKeyMenuInsertion;
  info->do_not_erase = true;
  before_replace();
  hand_off_(std::move(info));
}

}  // namespace tolvan
