// ProgressWorkRunner: long work on a worker thread while the main thread waits for it,
// looking every 75 ms; once the work has taken 225 ms a pulsing progress window shows the
// work's latest text. The window is modal, so nothing else in the program is edited
// meanwhile, and each pulse lets GTK handle what is pending (painting, the X server).
#pragma once

#include <gtkmm/window.h>

#include <chrono>

#include "presenters/library_window/transfer_context.h"

namespace tolvan::ui {

inline constexpr std::chrono::milliseconds kProgressPollInterval{75};
inline constexpr std::chrono::milliseconds kProgressWindowDelay{225};

class ProgressWorkRunner final : public WorkRunner {
 public:
  // The progress window belongs to the window `parent` names at the time (may be null).
  void set_parent(Gtk::Window* parent) { parent_ = parent; }

  void run(const std::string& title, const std::string& text,
           const std::function<void(const Say& say)>& work) override;

  // How many progress windows the runs so far have shown (for the window's tests).
  int windows_shown() const { return windows_shown_; }

 private:
  Gtk::Window* parent_ = nullptr;
  int windows_shown_ = 0;
};

}  // namespace tolvan::ui
