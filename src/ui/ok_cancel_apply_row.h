// OkCancelApplyRow: the row of "_OK", "_Cancel" and "_Apply" at the foot of a window, at its
// end, each button present only when the window gives it something to do.
#pragma once

#include <gtkmm/button.h>
#include <gtkmm/buttonbox.h>

#include <functional>
#include <memory>

namespace tolvan::ui {

class OkCancelApplyRow final : public Gtk::ButtonBox {
 public:
  OkCancelApplyRow(std::function<void()> on_ok, std::function<void()> on_cancel,
                   std::function<void()> on_apply);

  // The buttons; null for one the window did not ask for.
  Gtk::Button* ok() { return ok_.get(); }
  Gtk::Button* cancel() { return cancel_.get(); }
  Gtk::Button* apply() { return apply_.get(); }

 private:
  std::unique_ptr<Gtk::Button> add_button(const char* label, std::function<void()> on_click);

  std::unique_ptr<Gtk::Button> ok_;
  std::unique_ptr<Gtk::Button> cancel_;
  std::unique_ptr<Gtk::Button> apply_;
};

}  // namespace tolvan::ui
