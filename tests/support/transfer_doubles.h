// Doubles for the import and export flows: file dialogs that answer from queues and keep
// what they were asked, the main window's pending changes, the window as an import target
// (a log of what it was told), and a runner that does the work at once.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "presenters/file_dialogs.h"
#include "presenters/library_window/transfer_context.h"
#include "presenters/pending_changes.h"

namespace tolvan::testing {

class QueuedFileDialogs final : public FileDialogs {
 public:
  std::deque<std::optional<std::string>> open_answers;  // nullopt: cancelled
  std::deque<std::optional<std::string>> save_answers;
  std::vector<OpenFileRequest> open_requests;
  std::vector<SaveFileRequest> save_requests;

  std::optional<std::string> browse_for_file(const OpenFileRequest& request) override {
    open_requests.push_back(request);
    return next(open_answers);
  }
  std::optional<std::string> browse_for_save_file_name(const SaveFileRequest& request) override {
    save_requests.push_back(request);
    return next(save_answers);
  }
  std::optional<std::string> browse_for_folder(const std::string&, const std::string&) override {
    return std::nullopt;
  }

 private:
  static std::optional<std::string> next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

struct CountingPendingChanges final : PendingChanges {
  bool has_unapplied_changes() const override { return unapplied; }
  bool apply_changes() override {
    ++applied;
    unapplied = false;
    return true;
  }
  bool unapplied = false;
  int applied = 0;
};

// "replaced", "te mode", or "folder <name>" for each thing the window was told.
struct LoggingImportTarget final : ImportTarget {
  void sandbox_replaced() override { log.push_back("replaced"); }
  void folder_imported(Folder& folder) override { log.push_back("folder " + folder.name); }
  void textexpander_mode_switched_on() override { log.push_back("te mode"); }
  std::vector<std::string> log;
};

// Runs the work at once on the calling thread, keeping the titles and every text said.
struct ImmediateRunner final : WorkRunner {
  void run(const std::string& title, const std::string& text,
           const std::function<void(const Say& say)>& work) override {
    titles.push_back(title);
    said.push_back(text);
    work([this](const std::string& t) { said.push_back(t); });
  }
  std::vector<std::string> titles;
  std::vector<std::string> said;
};

}  // namespace tolvan::testing
