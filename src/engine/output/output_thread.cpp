// The output thread: its message loop and the steps of one replacement around the typing.
#include "engine/output/output_thread.h"

#include "core/utf.h"
#include "engine/macros/insertion.h"
#include "library/case_adaptation.h"
#include "platform/vk_codes.h"

namespace tolvan {

bool keysim_do_output_typed_delim(const Abbreviation& abbreviation, const OutputPrefs& prefs) {
  if (prefs.textexpander_mode) return prefs.default_trigger_mode == TRIGGER_WORD_ENDING;
  return abbreviation.trigger_mode == TRIGGER_WORD_ENDING;
}

TextToType keysim_get_text_to_type(const TypedAbbrevInfo* record, const Abbreviation& abbreviation,
                                   std::string_view typed, const OutputPrefs& prefs,
                                   const MacroEnvironment& env) {
  TextToType result;
  if (abbreviation.type() != ABBR_TYPE_TEXT) {
    result.output_method = repl_output_method(prefs, 0);
    return result;
  }
  if (typed.empty()) {
    result.text = "";
    result.output_method = repl_output_method(prefs, 0);
    return result;
  }
  InsertionResult inserted = insertion_macros_execute(std::get<std::string>(abbreviation.data), env);
  result.cursor_back = static_cast<int>(inserted.cursor_back);
  result.text = abbr_convert_exp_to_correct_case(inserted.text, abbreviation, typed,
                                                 &result.capitalize_first);
  // The delimiter typed again does not count towards the clipboard threshold.
  result.output_method = repl_output_method(prefs, result.text->size());
  if (record != nullptr && record->delimiter_char != 0 && keysim_do_output_typed_delim(abbreviation, prefs)) {
    utf8_append(*result.text, record->delimiter_char);
    if (result.cursor_back != 0) ++result.cursor_back;
  }
  return result;
}

OutputThread::OutputThread(Platform platform, HookSide& hook, InteractiveInputState& ii, MacroEnvironment env,
               LaunchHandler* launcher)
    : platform_(platform),
      hook_(hook),
      ii_(ii),
      env_(std::move(env)),
      launcher_(launcher),
      keys_(platform),
      clipboard_(platform) {
  if (!env_.clipboard_text) {
    Clipboard* clipboard = platform_.clipboard;
    env_.clipboard_text = [clipboard] { return clipboard->text(); };
  }
}

OutputThread::~OutputThread() { destroy_thread(); }

void OutputThread::set_prefs(OutputPrefs prefs) {
  std::lock_guard lock(prefs_mutex_);
  shared_prefs_ = prefs;
}

OutputPrefs OutputThread::prefs() const {
  std::lock_guard lock(prefs_mutex_);
  return shared_prefs_;
}

// --- the thread ---

bool OutputThread::create_thread() {
  if (thread_.joinable()) return true;
  stopping_ = false;
  running_ = true;
  thread_ = std::thread([this] { thread_main(); });
  return true;
}

void OutputThread::destroy_thread() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  post({KeysimMessage::Quit, nullptr});
  thread_.join();
  running_ = false;
  state_changed_.notify_all();
}

void OutputThread::replace_typed_abbreviation(std::unique_ptr<TypedAbbrevInfo> record) {
  if (!record) return;
  post({KeysimMessage::Replace, std::move(record)});
}

void OutputThread::replace_typed_abbreviation_preppy() { post({KeysimMessage::Prepare, nullptr}); }

void OutputThread::post(Message message) {
  {
    std::lock_guard lock(state_mutex_);
    ++pending_messages_;
    if (message.kind == KeysimMessage::Replace) ++pending_replacements_;
  }
  queue_.post(std::move(message));
}

void OutputThread::done_with(KeysimMessage kind) {
  {
    std::lock_guard lock(state_mutex_);
    --pending_messages_;
    if (kind == KeysimMessage::Replace) --pending_replacements_;
  }
  state_changed_.notify_all();
}

void OutputThread::set_waiting_for_user(bool on) {
  {
    std::lock_guard lock(state_mutex_);
    waiting_for_user_ = on;
  }
  state_changed_.notify_all();
}

bool OutputThread::busy() const {
  std::lock_guard lock(state_mutex_);
  return pending_replacements_ > 0 && !waiting_for_user_;
}

bool OutputThread::waiting_for_user() const {
  std::lock_guard lock(state_mutex_);
  return waiting_for_user_;
}

void OutputThread::wait(Until until) {
  std::unique_lock lock(state_mutex_);
  state_changed_.wait(lock, [&] {
    return !running_ || pending_messages_ == 0 || (until == Until::kIdleOrWaitingForUser && waiting_for_user_);
  });
}

void OutputThread::thread_main() {
  for (;;) {
    Message message = queue_.take();
    switch (message.kind) {
      case KeysimMessage::Replace:
        if (message.record) handle(*message.record);
        message.record.reset();  // the record ends here, as it came
        break;
      case KeysimMessage::Prepare:
        keyboard_preppy();
        break;
      case KeysimMessage::Quit:
        done_with(message.kind);
        return;
      case KeysimMessage::Ping:
        break;
    }
    done_with(message.kind);
  }
}

// --- one replacement ---

void OutputThread::handle(TypedAbbrevInfo& record) {
  prefs_ = prefs();
  clipboard_.set_paste_classes(prefs_.terminal_classes, prefs_.primary_paste_classes);
  std::optional<std::string> text;
  if (record.abbreviation) {
    TextToType built = keysim_get_text_to_type(&record, *record.abbreviation, record.typed, prefs_, env_);
    text = std::move(built.text);
    record.cursor_back = built.cursor_back;
    record.capitalize_first = built.capitalize_first;
    method_ = built.output_method;
  } else {
    method_ = repl_output_method(prefs_, 0);
  }
  record.text = text.value_or("");

  const bool lazy_window =
      window_class_listed(prefs_.lazy_input_classes, platform_.windows->class_name(record.window));
  if (lazy_window) platform_.input->pace_keys(true, record.window);
  // Before anything is erased: applications may take a changed keymap in slowly. The text
  // typed below is this one, so it is announced here only.
  if (method_ == OutputMethod::kKeySimulation) prepare_characters(record.text, record.window);
  keyboard_preppy();
  const bool pasting = method_ == OutputMethod::kClipboard;
  const bool backed_up = pasting && prefs_.clipboard_restore;
  if (prefs_.play_sound && platform_.sound) platform_.sound->play_pop();
  const bool erased = delete_typed_abbrev(record);
  // The application takes the Backspaces in while the user's clipboard is read.
  if (backed_up) clipboard_.backup_contents();
  if (erased) {
    if (text) record.text = std::move(*text);
    handle_abbrev_replacement(record);
  }
  do_after_replace_cleanup();
  if (pasting) {
    clipboard_.buf_free();
    if (backed_up) clipboard_.restore_contents();
  }
  if (lazy_window) platform_.input->pace_keys(false, record.window);
}

void OutputThread::keyboard_preppy() {
  if (method_ == OutputMethod::kKeySimulation) hook_.caps_lock_preppy();
  // A lone modifier press and release would open a menu or switch the layout in some
  // applications; tapping Ctrl (and Shift) first cancels what a held modifier started.
  keys_.tap(vk::Control, kKeyExtended);
  keys_.tap(vk::LControl, 0x1D, 0);
  keys_.tap(vk::RControl, 0x1D, 0);
  KeyboardState& keyboard = *platform_.keyboard;
  bool shift_down = false;
  for (uint16_t key : {vk::Shift, vk::LShift, vk::RShift}) {
    if (keyboard.async_down(key) || (keyboard.key_state(key) & kKeyDownBit)) shift_down = true;
  }
  if (method_ == OutputMethod::kClipboard && !shift_down) return;
  keys_.tap(vk::Shift, kKeyExtended);
  keys_.tap(vk::LShift, 0x2A, 0);
  keys_.tap(vk::RShift, 0x36, kKeyExtended);
}

bool OutputThread::window_changed(WindowId window) const {
  return !prefs_.cont_window_changed && platform_.windows->foreground() != window;
}

bool OutputThread::delete_typed_abbrev(const TypedAbbrevInfo& record) {
  if (record.do_not_erase) return true;
  if (!record.abbreviation || record.typed.empty()) return false;
  long presses = static_cast<long>(utf8_length(record.typed));
  if (record.dead_key) ++presses;
  // The hook could not hold the releasing key back, and it typed a character.
  if (record.swallowed_key_typed_char && platform_.hook && !platform_.hook->can_swallow()) ++presses;
  for (long i = 0; i < presses; ++i) {
    if (window_changed(record.window)) return false;
    keys_.tap(vk::Back);
  }
  return true;
}

void OutputThread::handle_abbrev_replacement(TypedAbbrevInfo& record) {
  switch (record.abbreviation->type()) {
    case ABBR_TYPE_PROGRAM:
    case ABBR_TYPE_WEBSITE:
      if (launcher_) launcher_->launch(*record.abbreviation, record.window);
      return;
    case ABBR_TYPE_TEXT:
      simutype_text(record.text, record.window, &record);
      for (int i = 0; i < record.cursor_back; ++i) keys_.tap(vk::Left);
      return;
    case ABBR_TYPE_UNSUPPORTED:
      return;
  }
}

void OutputThread::do_after_replace_cleanup() {
  hook_.post(MonMessage::ClearKeyBuffer);
  hook_.post(MonMessage::RestoreModifiers);
  if (method_ == OutputMethod::kKeySimulation) hook_.post(MonMessage::RestoreCapsLock);
  hook_.post(MonMessage::EnableHook);
}

}  // namespace tolvan
