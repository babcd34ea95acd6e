// MainWindowImportTarget: the main window as the imports see it. Every change an import
// makes is shown through the window's own "a folder was imported" step: the tree is built
// afresh from the sandbox, the folder selected under the expanded All row, Apply sensitive.
#pragma once

#include <functional>

#include "presenters/library_window/transfer_context.h"
#include "ui/library_window/main_window.h"

namespace tolvan::ui {

class MainWindowImportTarget final : public ImportTarget {
 public:
  // `show_textexpander_elements` shows the window's TextExpander menu items and wording
  // once the import switched the mode on; may be empty.
  MainWindowImportTarget(MainWindow& window, Library& library,
                         std::function<void()> show_textexpander_elements = {})
      : window_(window), library_(library),
        show_textexpander_elements_(std::move(show_textexpander_elements)) {}

  void sandbox_replaced() override;
  void folder_imported(Folder& folder) override { window_.folder_imported(folder); }
  void textexpander_mode_switched_on() override;

 private:
  // The tree built again with the All row selected.
  void show_whole_sandbox();

  MainWindow& window_;
  Library& library_;
  std::function<void()> show_textexpander_elements_;
};

}  // namespace tolvan::ui
