#include "ui/ok_cancel_apply_row.h"

namespace tolvan::ui {

OkCancelApplyRow::OkCancelApplyRow(std::function<void()> on_ok, std::function<void()> on_cancel,
                                   std::function<void()> on_apply)
    : Gtk::ButtonBox(Gtk::ORIENTATION_HORIZONTAL) {
  set_layout(Gtk::BUTTONBOX_END);
  set_spacing(3);
  ok_ = add_button("_OK", std::move(on_ok));
  cancel_ = add_button("_Cancel", std::move(on_cancel));
  apply_ = add_button("_Apply", std::move(on_apply));
}

std::unique_ptr<Gtk::Button> OkCancelApplyRow::add_button(const char* label,
                                                   std::function<void()> on_click) {
  if (!on_click) return nullptr;
  auto button = std::make_unique<Gtk::Button>(label, true);
  button->signal_clicked().connect(std::move(on_click));
  pack_start(*button);
  button->show();
  return button;
}

}  // namespace tolvan::ui
