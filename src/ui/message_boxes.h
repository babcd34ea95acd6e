// MessageBoxes: Tolvan's modal message boxes, titled "Tolvan": the plain box, Yes/No/Cancel,
// with a check box ("don't show this again"), with a text area, with an entry, and the box
// that answers itself after a delay. Every box may be asked for from any thread: on the
// main thread it runs at once, from another thread it is handed to the main loop and the
// caller waits for the answer. Texts are shown as they are (no markup, no format), so a
// "%" shows once.
#pragma once

#include <gtkmm/window.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "core/prompts.h"
#include "presenters/main_thread_calls.h"
#include "presenters/message_box_buttons.h"

namespace tolvan::ui {

inline constexpr const char* kAskAgainLabel = "_Don't show this dialog again";
inline constexpr const char* kTextAreaAskAgainLabel = "_Don't show me this again";

class MessageBoxes final : public Prompts {
 public:
  // Made on the main thread, which is then the thread every box runs on.
  MessageBoxes();

  // The window the boxes belong to (none: they stand alone). It must outlive its use here
  // or be unset first. Main thread only.
  void set_parent(Gtk::Window* parent) { parent_ = parent; }

  Response show(PromptKind type, MessageButtons buttons, std::string_view text);
  // Yes, No and Cancel; Enter answers Yes.
  Response show_yes_no_cancel(PromptKind type, std::string_view text);
  // `checked` presets the check box (its label has a mnemonic)
  // and receives its state when the box closes.
  Response show_with_checkbox(PromptKind type, MessageButtons buttons, std::string_view text,
                              std::string_view check_label, bool& checked);
  // The check box "Don't show this dialog again".
  Response show_ask_again(PromptKind type, MessageButtons buttons, std::string_view text,
                          bool& dont_show_again);
  // `contents` read-only in a scrolled frame under the text; with
  // `dont_show_again`, also the check box "Don't show me this again".
  Response show_textview(PromptKind type, MessageButtons buttons, std::string_view text,
                         std::string_view contents, bool* dont_show_again = nullptr);
  // A labelled entry (its characters hidden unless `visible`;
  // Enter answers the default). The entry's text when the answer is OK, else nullopt.
  std::optional<std::string> ask_for_entry(PromptKind type, MessageButtons buttons,
                                           std::string_view text, std::string_view label,
                                           bool visible, Response* response = nullptr);
  // Answered with `automatic` (also its default) when the user has not
  // answered within `delay` plus 150 ms.
  Response show_timed(PromptKind type, MessageButtons buttons, std::string_view text,
                      std::chrono::milliseconds delay, Response automatic);

  // Prompts: information and errors with OK, questions with Yes and No.
  void info(std::string_view text) override;
  void error(std::string_view text) override;
  bool yes_no(std::string_view text, PromptKind kind) override;
  Answer yes_no_cancel(std::string_view text) override;
  bool ask_again(std::string_view text, PromptKind kind, bool dont_show_again) override;
  AskAgainAnswer yes_no_ask_again(std::string_view text, PromptKind kind,
                                  bool dont_show_again) override;

 private:
  MainThreadCalls calls_;
  Gtk::Window* parent_ = nullptr;
};

}  // namespace tolvan::ui
