#include "ui/hotkey_row_widget.h"

#include <algorithm>

namespace tolvan::ui {

HotkeyRowWidget::HotkeyRowWidget() : Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 2) {
  for (Gtk::CheckButton* box : {&ctrl_, &alt_, &shift_, &super_}) pack_start(*box, false, false);
  key_.append("");
  for (const HotkeyKeyChoice& choice : hotkey_key_choices()) key_.append(std::string(choice.name));
  key_.set_active(0);
  key_.set_margin_start(6);
  pack_start(key_, false, false);
  for (Gtk::CheckButton* box : {&ctrl_, &alt_, &shift_, &super_})
    box->signal_toggled().connect([this] { changed_.emit(); });
  key_.signal_changed().connect([this] { changed_.emit(); });
}

HotkeyRow HotkeyRowWidget::hotkey() const {
  HotkeyRow row{ctrl_.get_active(), alt_.get_active(), shift_.get_active(), super_.get_active(), 0};
  const int index = key_.get_active_row_number();
  if (index > 0) row.key = hotkey_key_choices()[static_cast<size_t>(index - 1)].vk;
  return row;
}

void HotkeyRowWidget::set_hotkey(const HotkeyRow& row) {
  ctrl_.set_active(row.ctrl);
  alt_.set_active(row.alt);
  shift_.set_active(row.shift);
  super_.set_active(row.super);
  const auto keys = hotkey_key_choices();
  auto it = std::find_if(keys.begin(), keys.end(), [&](const HotkeyKeyChoice& c) { return c.vk == row.key; });
  key_.set_active(it == keys.end() ? 0 : static_cast<int>(it - keys.begin()) + 1);
}

}  // namespace tolvan::ui
