// OutputThread: the output thread. It takes each recognised abbreviation from the hook thread,
// builds the text to insert, erases what the user typed, types or pastes the text (running
// the typing-time macros on the way), moves the caret back to a cursor mark, hands
// launchers over, and gives the keyboard back to the hook thread. Everything slow happens
// here, never on the hook thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "core/message_queue.h"
#include "engine/output/clipboard_output.h"
#include "engine/engine_messages.h"
#include "engine/hook/hook_side.h"
#include "engine/output/interactive_input_state.h"
#include "engine/output/key_sender.h"
#include "engine/output/output_prefs.h"
#include "engine/output/launch_handler.h"
#include "engine/macros/macro_environment.h"
#include "engine/typed_abbrev_info.h"
#include "platform/platform.h"

namespace tolvan {

// What an abbreviation becomes: the text (nullopt for a launcher), how far the caret goes
// back after it, whether its first character is upper-cased, and how it is output.
struct TextToType {
  std::optional<std::string> text;
  int cursor_back = 0;
  bool capitalize_first = false;
  OutputMethod output_method = OutputMethod::kKeySimulation;
};

// Whether the delimiter is typed again after the expansion (trigger mode word-ending; in
// TextExpander mode the default trigger mode decides).
bool keysim_do_output_typed_delim(const Abbreviation& abbreviation, const OutputPrefs& prefs);

// Insertion macros, case adaptation, output method and the delimiter of `record` when
// there is one. Pure: the tooltip preview calls it with no
// record, and a replacement in progress is not disturbed.
TextToType keysim_get_text_to_type(const TypedAbbrevInfo* record, const Abbreviation& abbreviation,
                                   std::string_view typed, const OutputPrefs& prefs,
                                   const MacroEnvironment& env);

class OutputThread {
 public:
  // The platform, hook side and interactive-input flags outlive this object. An empty
  // env.clipboard_text reads the platform's clipboard. Key names are looked up in the
  // target window's layout. launcher may be null (launchers then do nothing).
  OutputThread(Platform platform, HookSide& hook, InteractiveInputState& ii, MacroEnvironment env,
         LaunchHandler* launcher);
  ~OutputThread();
  OutputThread(const OutputThread&) = delete;
  OutputThread& operator=(const OutputThread&) = delete;

  // Thread-safe; takes effect at the next replacement.
  void set_prefs(OutputPrefs prefs);
  OutputPrefs prefs() const;

  // True when the thread runs (it is started if it did not).
  bool create_thread();
  // An interactive input that waits is abandoned, then Quit is posted and the thread
  // joined; queued replacements before the Quit still run.
  void destroy_thread();

  // Nothing for a null record; else queued for the output thread, which owns it from now on.
  void replace_typed_abbreviation(std::unique_ptr<TypedAbbrevInfo> record);
  // The keyboard preparation on its own, after the replacement in progress (interactive
  // input hands the keyboard back to the output).
  void replace_typed_abbreviation_preppy();

  // One replacement on the calling thread (what the thread does per Replace message); not
  // while the thread runs, whose replacement state it shares.
  void handle(TypedAbbrevInfo& record);

  // A replacement is queued or running and not waiting for the user.
  bool busy() const;
  // An Input macro waits for the user's typing.
  bool waiting_for_user() const;

  enum class Until {
    kIdle,              // nothing queued or running
    kIdleOrWaitingForUser,  // or the only thing running waits for the user
  };
  // Blocks until the output thread reached the state asked for; returns at once when the
  // thread does not run (replacements handled directly are over when handle() returns).
  void wait(Until until = Until::kIdle);

 private:
  struct Message {
    KeysimMessage kind;
    std::unique_ptr<TypedAbbrevInfo> record;
  };

  void thread_main();
  void post(Message message);
  void done_with(KeysimMessage kind);
  void set_waiting_for_user(bool on);

  // The steps of one replacement.
  void keyboard_preppy();
  // Has the characters of `text` that no key types bound to keys at once (see
  // InputSynth::prepare_characters).
  void prepare_characters(std::string_view text, WindowId window);
  bool delete_typed_abbrev(const TypedAbbrevInfo& record);
  void handle_abbrev_replacement(TypedAbbrevInfo& record);
  void do_after_replace_cleanup();
  bool window_changed(WindowId window) const;

  // Typing (output_thread_typing.cpp).
  // What typing met at a "%(".
  struct MacroResult {
    enum class Kind {
      kNotAMacro,       // the "%" is typed as text
      kEscapedPercent,  // the "%" is dropped and typing goes on from the "(" after it
      kDone,            // the macro acted; typing goes on after it
      kAbandoned,       // the user left the macro's interactive input: typing stops
    };
    Kind kind = Kind::kNotAMacro;
    size_t bytes = 0;  // the macro's length (kDone)
    long chars = 0;    // the same in characters, as the caret mark counts them
    int typed = 0;     // characters the user typed in an Input macro
  };
  // Types `text` into `window`; false when it stopped early (the window changed, an input
  // was abandoned). With an `expansion` record its macros run, its first character may be
  // upper-cased and its cursor_back follows what the macros did; without one the text is
  // an input's default text, typed as it stands.
  bool simutype_text(std::string_view text, WindowId window, TypedAbbrevInfo* expansion);
  MacroResult handle_this_macro(std::string_view text, size_t pos, LayoutId layout, WindowId window);
  // The characters the user typed over the default text; nullopt when the input was
  // abandoned or its window lost.
  std::optional<int> handle_interactive_input(const std::string& default_text, WindowId window);
  // Pastes what a clipboard run gathered before a typing-time macro acts.
  void flush_clipboard_run();

  Platform platform_;
  HookSide& hook_;
  InteractiveInputState& ii_;
  MacroEnvironment env_;
  LaunchHandler* launcher_;
  KeySender keys_;
  ClipboardOutput clipboard_;

  mutable std::mutex prefs_mutex_;
  OutputPrefs shared_prefs_;

  // State of the replacement in progress (output thread only).
  OutputPrefs prefs_;
  OutputMethod method_ = OutputMethod::kKeySimulation;
  HeldModifiers held_;
  bool clipboard_run_ = false;
  // Whether the pastes of this run still owe the capitalised first character.
  bool capitalize_pending_ = false;

  MessageQueue<Message> queue_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> running_{false};

  mutable std::mutex state_mutex_;
  std::condition_variable state_changed_;
  int pending_messages_ = 0;      // queued or running, every kind
  int pending_replacements_ = 0;  // queued or running Replace messages
  bool waiting_for_user_ = false;
};

}  // namespace tolvan
