// RecordingPrompts: a Prompts double that remembers every box it was shown and answers
// questions from a queue the test fills (No, or Cancel, when the queue is empty).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/prompts.h"

namespace tolvan::testing {

class RecordingPrompts final : public Prompts {
 public:
  enum class Box { Info, Error, YesNo, YesNoCancel, AskAgain };
  struct Shown {
    Box box;
    std::string text;
  };

  std::vector<Shown> shown;
  std::deque<Answer> answers;  // consumed by yes_no and yes_no_cancel, front first
  // How the user leaves the check box of ask_again boxes; unset: as it was preset.
  std::optional<bool> check_box;

  void info(std::string_view text) override { shown.push_back({Box::Info, std::string(text)}); }
  void error(std::string_view text) override { shown.push_back({Box::Error, std::string(text)}); }
  bool yes_no(std::string_view text, PromptKind) override {
    shown.push_back({Box::YesNo, std::string(text)});
    return next(Answer::No) == Answer::Yes;
  }
  Answer yes_no_cancel(std::string_view text) override {
    shown.push_back({Box::YesNoCancel, std::string(text)});
    return next(Answer::Cancel);
  }
  bool ask_again(std::string_view text, PromptKind, bool dont_show_again) override {
    shown.push_back({Box::AskAgain, std::string(text)});
    return check_box.value_or(dont_show_again);
  }

  AskAgainAnswer yes_no_ask_again(std::string_view text, PromptKind,
                                  bool dont_show_again) override {
    shown.push_back({Box::AskAgain, std::string(text)});
    return {next(Answer::No) == Answer::Yes, check_box.value_or(dont_show_again)};
  }
  size_t count(Box box) const {
    size_t n = 0;
    for (const auto& s : shown) n += s.box == box;
    return n;
  }

 private:
  Answer next(Answer fallback) {
    if (answers.empty()) return fallback;
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace tolvan::testing
