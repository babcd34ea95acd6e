// Prompts: the message boxes Tolvan shows, as an interface, so that code below the user
// interface can talk to the user without knowing about windows. The GTK dialog toolkit
// implements it for the program; tests answer it with a recording double; tolvan-cli
// writes the texts to a stream.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

// The message type of a box; it sets the icon and, for Yes/No boxes, the default answer
// (Yes for questions and information, No for warnings and errors).
enum class PromptKind { Info, Warning, Question, Error };

enum class Answer { Yes, No, Cancel };

class Prompts {
 public:
  virtual ~Prompts() = default;

  virtual void info(std::string_view text) = 0;
  virtual void error(std::string_view text) = 0;
  // True when the user answers Yes.
  virtual bool yes_no(std::string_view text, PromptKind kind = PromptKind::Question) = 0;
  virtual Answer yes_no_cancel(std::string_view text) = 0;
  // A box with the check box "Don't show this dialog again", preset from
  // `dont_show_again`; returns the check box's state when the box closes.
  virtual bool ask_again(std::string_view text, PromptKind kind, bool dont_show_again) = 0;
  // A Yes/No question with that check box: the answer and the check box's state. Prompts
  // that cannot show the check box ask the plain question and leave the state as it was.
  struct AskAgainAnswer {
    bool yes = false;
    bool dont_show_again = false;
  };
  virtual AskAgainAnswer yes_no_ask_again(std::string_view text, PromptKind kind,
                                          bool dont_show_again) {
    return {yes_no(text, kind), dont_show_again};
  }
};

// Prompts for a program without a user to ask: every text goes to `out`, every question is
// answered No (Cancel for three-way questions), so nothing is retried or overwritten
// unasked. With `infos`, information is kept there for the caller to show or leave out.
class StreamPrompts final : public Prompts {
 public:
  explicit StreamPrompts(std::ostream& out, std::vector<std::string>* infos = nullptr)
      : out_(out), infos_(infos) {}

  void info(std::string_view text) override {
    if (infos_) infos_->emplace_back(text);
    else out_ << text << "\n";
  }
  void error(std::string_view text) override { out_ << text << "\n"; }
  bool yes_no(std::string_view text, PromptKind) override {
    out_ << text << "\n";
    return false;
  }
  Answer yes_no_cancel(std::string_view text) override {
    out_ << text << "\n";
    return Answer::Cancel;
  }
  bool ask_again(std::string_view text, PromptKind, bool dont_show_again) override {
    out_ << text << "\n";
    return dont_show_again;
  }

 private:
  std::ostream& out_;
  std::vector<std::string>* infos_;
};

}  // namespace tolvan
