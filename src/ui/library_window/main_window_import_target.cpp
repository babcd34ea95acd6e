#include "ui/library_window/main_window_import_target.h"

namespace tolvan::ui {

void MainWindowImportTarget::show_whole_sandbox() {
  if (Folder* top = abbr_get_absolute_parent_folder(library_.sandbox)) {
    window_.folder_imported(*top);
  }
}

void MainWindowImportTarget::sandbox_replaced() { show_whole_sandbox(); }

void MainWindowImportTarget::textexpander_mode_switched_on() {
  if (show_textexpander_elements_) show_textexpander_elements_();
  show_whole_sandbox();  // the sandbox was reshaped: folders flattened, "(Uncategorized)"
}

}  // namespace tolvan::ui
