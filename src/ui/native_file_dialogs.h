// NativeFileDialogs: the desktop's own open, save and folder dialogs (through the desktop
// portal where there is one, else GTK's). While one is open the main loop goes on, so
// timers and other windows stay alive. A save dialog adds the default extension to a name
// typed without one, and asks before that completed name replaces a file.
#pragma once

#include <gtkmm/window.h>

#include "core/prompts.h"
#include "presenters/file_dialogs.h"

namespace tolvan::ui {

class NativeFileDialogs final : public FileDialogs {
 public:
  explicit NativeFileDialogs(Prompts& prompts) : prompts_(prompts) {}

  // The window the dialogs belong to (none: they stand alone).
  void set_parent(Gtk::Window* parent) { parent_ = parent; }

  std::optional<std::string> browse_for_file(const OpenFileRequest& request) override;
  std::optional<std::string> browse_for_save_file_name(const SaveFileRequest& request) override;
  std::optional<std::string> browse_for_folder(const std::string& title,
                                               const std::string& initial_folder) override;

 private:
  Prompts& prompts_;
  Gtk::Window* parent_ = nullptr;
};

}  // namespace tolvan::ui
