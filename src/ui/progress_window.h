// ProgressWindow: a small modal window with a pulsing bar, for work the main thread does
// itself (a long export). Creating it and every pulse let GTK handle what is pending, so
// the window stays painted meanwhile. The user cannot close it; it goes when destroyed.
#pragma once

#include <gtkmm/progressbar.h>
#include <gtkmm/window.h>

namespace tolvan::ui {

class ProgressWindow final : public Gtk::Window {
 public:
  // Shown at once, centred on `parent` (may be null).
  ProgressWindow(Gtk::Window* parent, const Glib::ustring& title, const Glib::ustring& text);

  void pulse();

  Gtk::ProgressBar& bar() { return bar_; }

 private:
  bool on_delete_event(GdkEventAny* event) override;

  Gtk::ProgressBar bar_;
};

}  // namespace tolvan::ui
