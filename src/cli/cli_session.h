// What the commands that work on the configured Tolvan share: the preferences loaded as
// the program loads them, the library as it loads it at start, and the program's message
// boxes answered on a terminal.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/prompts.h"
#include "library/library.h"
#include "library/main_list_file.h"
#include "settings/gvar.h"
#include "settings/settings.h"

namespace tolvan::cli {

// Errors and questions go to stderr and are answered No; information is kept for the
// command to show or leave out.
class TerminalPrompts final : public Prompts {
 public:
  explicit TerminalPrompts(std::ostream& err) : err_(err) {}
  std::vector<std::string> infos;

  void info(std::string_view text) override { infos.emplace_back(text); }
  void error(std::string_view text) override { err_ << text << "\n"; }
  bool yes_no(std::string_view text, PromptKind) override {
    err_ << text << "\n";
    return false;
  }
  Answer yes_no_cancel(std::string_view text) override {
    err_ << text << "\n";
    return Answer::Cancel;
  }
  bool ask_again(std::string_view text, PromptKind, bool dont_show_again) override {
    err_ << text << "\n";
    return dont_show_again;
  }

 private:
  std::ostream& err_;
};

struct Session {
  // Preferences from the configured folder; a bad file means the defaults.
  explicit Session(const Invocation& inv);
  // The library file (the configured one when `file` is empty) as the program loads it at
  // start, with a sandbox copy.
  LoadOutcome load_library(const std::string& file = "");

  Settings prefs;
  RunTimeVariables gvar;
  Library library;
  TerminalPrompts prompts;
};

}  // namespace tolvan::cli
