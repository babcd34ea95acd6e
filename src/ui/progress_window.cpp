#include "ui/progress_window.h"

#include <glibmm/main.h>

namespace tolvan::ui {
namespace {

void handle_pending_events() {
  auto context = Glib::MainContext::get_default();
  while (context->pending()) context->iteration(false);
}

}  // namespace

ProgressWindow::ProgressWindow(Gtk::Window* parent, const Glib::ustring& title,
                               const Glib::ustring& text) {
  set_title(title);
  set_modal(true);
  set_resizable(false);
  set_type_hint(Gdk::WINDOW_TYPE_HINT_DIALOG);
  // Closing is ignored anyway (below); without the button nobody tries.
  set_deletable(false);
  set_default_size(350, 45);
  set_border_width(6);
  if (parent) {
    set_transient_for(*parent);
    set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  } else {
    set_position(Gtk::WIN_POS_CENTER);
  }
  bar_.set_text(text);
  bar_.set_show_text(true);
  bar_.set_valign(Gtk::ALIGN_CENTER);
  add(bar_);
  show_all();
  pulse();
}

void ProgressWindow::pulse() {
  bar_.pulse();
  handle_pending_events();
}

bool ProgressWindow::on_delete_event(GdkEventAny*) {
  return true;  // closing would leave the work unwatched; it ends the window itself
}

}  // namespace tolvan::ui
