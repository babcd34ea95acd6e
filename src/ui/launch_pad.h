// LaunchPad: the launch pad on the desktop, a small window with one entry into which the
// user types a launcher's abbreviation; the keyboard monitor sees it there like in any
// other window, and the launcher hides the launch pad before it starts. Escape hides it;
// Tab and Return reach the entry as spaces (the monitor still takes them as the
// abbreviation's delimiter), so they neither move the focus nor activate anything.
#pragma once

#include <gtkmm/entry.h>
#include <gtkmm/window.h>

#include <atomic>
#include <memory>

#include "launch/launcher.h"
#include "presenters/launch_pad_presenter.h"
#include "presenters/main_thread_calls.h"

namespace tolvan::ui {

class LaunchPadDialog final : public Gtk::Window, public LaunchPadView {
 public:
  explicit LaunchPadDialog(LaunchPadPresenter& presenter);

  // LaunchPadView
  void show_all() override { Gtk::Window::show_all(); }
  void present() override { Gtk::Window::present(); }
  void hide() override { Gtk::Window::hide(); }
  void clear_entry() override { entry_.set_text(""); }

  Gtk::Entry& entry() { return entry_; }

 private:
  bool key_pressed(GdkEventKey* event);

  LaunchPadPresenter& presenter_;
  Gtk::Entry entry_;
};

class LaunchPad final : public LaunchPadWindow {
 public:
  // Made on the main thread.
  LaunchPad();
  ~LaunchPad() override;
  LaunchPad(const LaunchPad&) = delete;
  LaunchPad& operator=(const LaunchPad&) = delete;

  // launchpad_show: made hidden at start-up, shown by the hotkey.
  void show(bool create_hidden);
  void hide() { presenter_.hide(); }
  // launchpad_destroy, at quit.
  void destroy();

  LaunchPadPresenter& presenter() { return presenter_; }
  // The window while it exists.
  LaunchPadDialog* dialog() { return dialog_; }

  // LaunchPadWindow, asked on the output thread.
  WindowId launch_pad_window() const override { return window_; }
  void hide_launch_pad_soon() override;

 private:
  LaunchPadPresenter presenter_;
  LaunchPadDialog* dialog_ = nullptr;
  std::atomic<WindowId> window_ = 0;
  MainThreadCalls main_thread_;
  std::shared_ptr<int> alive_ = std::make_shared<int>();  // for work posted to the main loop
};

}  // namespace tolvan::ui
