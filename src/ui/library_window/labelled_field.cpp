#include "ui/library_window/labelled_field.h"

namespace tolvan::ui {

void label_field(Gtk::Label& label, Gtk::Widget& field) {
  label.set_mnemonic_widget(field);
  std::string name = label.get_text();
  while (!name.empty() && (name.back() == ' ' || name.back() == ':')) name.pop_back();
  field.get_accessible()->set_name(name);
}

}  // namespace tolvan::ui
