// HotkeyRowWidget: a hotkey as a row of "Ctrl", "Alt", "Shift" and "Super" check boxes and a
// key combo (an empty first row, then the keys a hotkey may use), read and set as a
// HotkeyRow.
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/comboboxtext.h>

#include "presenters/hotkey_row.h"

namespace tolvan::ui {

class HotkeyRowWidget final : public Gtk::Box {
 public:
  HotkeyRowWidget();

  HotkeyRow hotkey() const;
  void set_hotkey(const HotkeyRow& row);

  Gtk::ComboBoxText& key_combo() { return key_; }
  // A box ticked or another key chosen, by the user or by set_hotkey.
  sigc::signal<void()>& signal_changed() { return changed_; }

 private:
  Gtk::CheckButton ctrl_{"Ctrl"}, alt_{"Alt"}, shift_{"Shift"}, super_{"Super"};
  Gtk::ComboBoxText key_;
  sigc::signal<void()> changed_;
};

}  // namespace tolvan::ui
