// A field and its mnemonic label: the label's mnemonic focuses the field, and the field's
// accessible name is the label's text without its closing colon, so that tools that find
// widgets by name over AT-SPI find it too (GTK 3 only relates the two).
#pragma once

#include <gtkmm/label.h>

namespace tolvan::ui {

// Call again whenever the label's text changes.
void label_field(Gtk::Label& label, Gtk::Widget& field);

}  // namespace tolvan::ui
