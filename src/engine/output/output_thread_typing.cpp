// The output thread's typing run (OutputThread::simutype_text): characters as key events
// with the modifiers the layout needs, Unicode events for characters that no key types at
// once (no key at all, or a dead key), posted characters for windows that need them, the
// clipboard buffer for pasted runs, and the typing-time macros at their place in the text,
// interactive input among them.
#include <algorithm>
#include <limits>
#include <string>

#include "core/utf.h"
#include "engine/output/output_thread.h"
#include "engine/macros/syntax.h"
#include "engine/macros/typing_macros.h"
#include "platform/vk_codes.h"

namespace tolvan {
namespace {

// A browser frame that ignores injected input but accepts posted characters.
constexpr std::string_view kPostingWindowClass = "Maxthon2_Frame";
constexpr uint32_t kPostingSettleMs = 100;
constexpr uint32_t kInputPollMs = 10;
constexpr int kAltGrModifiers = kScanCtrl | kScanAlt;

// The key lookup takes one UTF-16 unit, as on Windows: a character beyond it has no key.
int key_scan(KeyboardState& keyboard, char32_t c, LayoutId layout) {
  return c <= 0xFFFF ? keyboard.vk_key_scan(static_cast<char16_t>(c), layout) : -1;
}

// The key that types `c` at once, or -1. A dead key would only leave its accent pending in
// the application for the next character to take ("l'eau" would become "léau"), so a
// character on a dead key is sent as a Unicode event, which leaves that state alone.
int typing_key(KeyboardState& keyboard, char32_t c, LayoutId layout) {
  const int code = key_scan(keyboard, c, layout);
  return code != -1 && keyboard.is_dead_key(static_cast<int16_t>(code), layout) ? -1 : code;
}

std::u16string utf16_units(char32_t c) {
  std::u16string units;
  utf16_append(units, c);
  return units;
}

}  // namespace

void OutputThread::prepare_characters(std::string_view text, WindowId window) {
  KeyboardState& keyboard = *platform_.keyboard;
  const LayoutId layout = keyboard.layout_of(window);
  // The characters (each once, in order) that go out as Unicode events.
  std::u32string found;
  for (size_t pos = 0; pos < text.size();) {
    std::optional<Utf8Char> decoded = utf8_char_at(text, pos);
    if (!decoded) {
      ++pos;
      continue;
    }
    pos += decoded->length;
    const char32_t c = decoded->value;
    if (c >= 0x20 && typing_key(keyboard, c, layout) == -1 && found.find(c) == std::u32string::npos) found.push_back(c);
  }
  platform_.input->prepare_characters(found);
}

void OutputThread::flush_clipboard_run() {
  if (!clipboard_run_ || clipboard_.gathered().empty()) return;
  std::string gathered = clipboard_.gathered();
  const bool capitalize = capitalize_pending_;
  capitalize_pending_ = false;
  if (clipboard_.buf_paste(true, capitalize)) return;
  // Nothing was pasted (the clipboard stayed locked, or the application fetched nothing):
  // the text is typed instead, never lost. Its line ends are the clipboard's.
  std::erase(gathered, '\r');
  const OutputMethod method = method_;
  method_ = OutputMethod::kKeySimulation;
  const WindowId window = platform_.windows->foreground();
  prepare_characters(gathered, window);
  simutype_text(capitalize ? keysim_capitalize_first(gathered) : gathered, window, nullptr);
  method_ = method;
}

bool OutputThread::simutype_text(std::string_view text, WindowId window,
                                 TypedAbbrevInfo* expansion) {
  const bool no_macros = expansion == nullptr;
  const bool capitalize_first = expansion != nullptr && expansion->capitalize_first;
  int no_caret_mark = 0;
  int& cursor_back = expansion != nullptr ? expansion->cursor_back : no_caret_mark;
  KeyboardState& keyboard = *platform_.keyboard;
  InputSynth& input = *platform_.input;
  const size_t len = text.size();
  const LayoutId layout = keyboard.layout_of(window);
  const bool stop_on_change = !prefs_.cont_window_changed;
  held_ = {};
  bool shift_released = true;
  bool first = true;
  bool aborted = false;

  const bool posting = platform_.windows->class_name(window) == kPostingWindowClass;
  WindowId focus = window;
  if (posting) {
    if (std::optional<Caret> caret = platform_.windows->caret()) focus = caret->window;
    platform_.clock->sleep_ms(kPostingSettleMs);
  }
  // Interactive input types its default text with a run of its own inside this one.
  const bool outer_clipboard_run = clipboard_run_;
  const bool outer_capitalize = capitalize_pending_;
  clipboard_run_ = method_ == OutputMethod::kClipboard && !posting;
  if (clipboard_run_) {
    clipboard_.buf_setup(len);
    capitalize_pending_ = capitalize_first;
  }

  size_t pos = 0;
  while (pos < len) {
    if (stop_on_change && platform_.windows->foreground() != window) {
      aborted = true;
      break;
    }
    if (!no_macros && pos + 1 < len && text[pos] == '%' && text[pos + 1] == '(') {
      // At or after the caret mark: at most cursor_back characters from here to the end.
      const bool after_mark = static_cast<long>(utf8_length(text.substr(pos))) <= cursor_back;
      MacroResult macro = handle_this_macro(text, pos, layout, window);
      if (macro.kind == MacroResult::Kind::kAbandoned) {
        cursor_back = 0;
        aborted = true;
        break;
      }
      if (macro.kind == MacroResult::Kind::kDone) {
        if (after_mark) cursor_back = static_cast<int>(cursor_back - macro.chars + macro.typed);
        pos += macro.bytes;
        continue;
      }
      if (macro.kind == MacroResult::Kind::kEscapedPercent) {
        if (after_mark) --cursor_back;
        ++pos;
        continue;
      }
    }
    if (clipboard_run_) {
      if (text[pos] == '\n') clipboard_.buf_append_line_end();
      else clipboard_.buf_append_char(text[pos]);
      ++pos;
      continue;
    }
    std::optional<Utf8Char> decoded = utf8_char_at(text, pos);
    if (!decoded) {
      ++pos;
      continue;
    }
    char32_t c = decoded->value;
    pos += decoded->length;
    if (first) {
      first = false;
      if (capitalize_first) c = unichar_toupper(c);
    }

    const int code = typing_key(keyboard, c, layout);
    ShiftCtrlAlt need = get_ctrl_alt_shift_state_from_VkKeyScan_code(code);
    uint32_t scan = 0;
    if (code != -1) {
      const int lower = key_scan(keyboard, unichar_tolower(c), layout);
      scan = keyboard.map_virtual_key(static_cast<uint32_t>(lower), MapType::VkToScan, layout);
    }
    bool altgr = false;
    if (code == -1 || posting) {
      need = {};
    } else if (((code >> 8) & 0xFF) == kAltGrModifiers) {
      altgr = true;
      need.shift = false;
    }
    // What a KeyDown macro holds is down already.
    if (held_.altgr) altgr = false;
    if (held_.ctrl) need.ctrl = false;
    if (held_.shift) need.shift = false;
    if (held_.alt || held_.altgr) need.alt = false;

    if (altgr) {
      keys_.keybd_event(vk::RMenu, 0x38, kKeyExtended);
    } else {
      if (need.shift && shift_released) keys_.keybd_event(vk::LShift, 0x2A, 0);
      if (need.ctrl) keys_.keybd_event(vk::Control, kKeyExtended);
      if (need.alt) keys_.keybd_event(vk::Menu, kKeyExtended);
    }

    if (posting) {
      for (char16_t unit : utf16_units(c == '\n' ? '\r' : c)) input.post_char(focus, unit);
    } else if (code != -1) {
      auto key = static_cast<uint16_t>(code & 0xFF);
      input.send_key(key, static_cast<uint16_t>(scan & 0xFF), 0);
      input.send_key(key, static_cast<uint16_t>(scan & 0xFF), kKeyUp);
    } else {
      for (char16_t unit : utf16_units(c)) {
        input.send_unicode(unit, false);
        input.send_unicode(unit, true);
      }
    }

    if (altgr) keys_.keybd_event(vk::RMenu, 0x38, kKeyUp | kKeyExtended);

    if (need.shift) {
      // Shift stays down across a run of shifted characters.
      bool release = no_macros || pos >= len;
      if (!release) {
        if (text.compare(pos, 2, "%(") == 0) {
          release = true;
        } else if (auto next = utf8_char_at(text, pos)) {
          const int next_code = typing_key(keyboard, next->value, layout);
          const bool next_shift = next_code != -1 && ((next_code >> 8) & kScanShift) &&
                                  ((next_code >> 8) & 0xFF) != kAltGrModifiers;
          release = !next_shift;
        } else {
          release = true;
        }
      }
      if (release) {
        keys_.keybd_event(vk::LShift, 0x2A, kKeyUp);
        shift_released = true;
      } else {
        shift_released = false;
      }
    }
    if (!altgr) {
      if (need.ctrl) keys_.keybd_event(vk::Control, kKeyUp | kKeyExtended);
      if (need.alt) keys_.keybd_event(vk::Menu, kKeyUp | kKeyExtended);
    }
  }
  // A run stopped between two shifted characters must not leave Shift down.
  if (!shift_released) keys_.keybd_event(vk::LShift, 0x2A, kKeyUp);

  if (clipboard_run_) flush_clipboard_run();
  clipboard_run_ = outer_clipboard_run;
  capitalize_pending_ = outer_capitalize && clipboard_run_;
  return !aborted;
}

OutputThread::MacroResult OutputThread::handle_this_macro(std::string_view text, size_t pos, LayoutId layout,
                                              WindowId window) {
  KeyboardState& keyboard = *platform_.keyboard;
  KeyLayoutLookup lookup = [&keyboard, layout](char32_t c) {
    return key_scan(keyboard, static_cast<char32_t>(c), layout);
  };
  TypingMacroStep step = keysim_plan_macro(text, pos, lookup);
  MacroResult result;
  switch (step.kind) {
    case TypingMacroKind::kNotAMacro:
      return result;
    case TypingMacroKind::kEscapedPercent:
      result.kind = MacroResult::Kind::kEscapedPercent;
      return result;
    case TypingMacroKind::kKeys:
      flush_clipboard_run();
      keys_.handle_key_presses(step.keys, held_);
      break;
    case TypingMacroKind::kDelay:
      flush_clipboard_run();
      platform_.clock->sleep_ms(static_cast<uint32_t>(
          std::clamp<std::int64_t>(step.delay_ms, 0, std::numeric_limits<uint32_t>::max())));
      break;
    case TypingMacroKind::kInput: {
      flush_clipboard_run();
      std::optional<int> typed = handle_interactive_input(step.input_default, window);
      if (!typed) {
        result.kind = MacroResult::Kind::kAbandoned;
        return result;
      }
      result.typed = *typed;
      break;
    }
    case TypingMacroKind::kIgnored:
      break;
  }
  result.kind = MacroResult::Kind::kDone;
  result.bytes = step.length_bytes;
  result.chars = static_cast<long>(step.length_chars);
  return result;
}

std::optional<int> OutputThread::handle_interactive_input(const std::string& default_text,
                                                          WindowId window) {
  const long n = static_cast<long>(utf8_length(default_text));
  if (!simutype_text(default_text, window, nullptr)) return std::nullopt;
  // Select the default text so that the user's typing replaces it.
  keys_.keybd_event(vk::Shift, 0);
  for (long i = 0; i < n; ++i) keys_.tap(vk::Left, kKeyExtended);
  keys_.keybd_event(vk::Shift, kKeyUp);

  // The hook watches the user's keys again.
  ii_.start();
  do_after_replace_cleanup();
  // Where the continue key cannot be swallowed it is kept from the application by a grab.
  KeyboardHook* hook = platform_.hook;
  const bool grabbed = hook != nullptr && !hook->can_swallow() && hook->grab_key(vk::Tab).ok();
  set_waiting_for_user(true);
  bool window_lost = false;
  for (;;) {
    platform_.clock->sleep_ms(kInputPollMs);
    if (ii_.continue_key_pressed() || ii_.ended_abruptly()) break;
    if (window_changed(window) || stopping_) {
      window_lost = true;
      break;
    }
  }
  set_waiting_for_user(false);
  if (grabbed) hook->ungrab_key(vk::Tab);

  // The hook steps aside for the rest of the replacement.
  ii_.set_mode_enabled(false);
  hook_.before_replace();
  replace_typed_abbreviation_preppy();

  if (ii_.ended_abruptly() || window_lost) return std::nullopt;
  return ii_.chars_typed() + (ii_.unselect_key_pressed_first() ? static_cast<int>(n) : 0);
}

}  // namespace tolvan
