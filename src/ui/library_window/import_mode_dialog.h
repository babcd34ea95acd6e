// ImportModeDialog: "Select Import Mode", the question whether an imported library
// replaces the user's or joins it. In TextExpander's wording it speaks of snippets, has
// only OK and cannot be closed: the import is already read and goes ahead either way.
#pragma once

#include <gtkmm/dialog.h>
#include <gtkmm/label.h>
#include <gtkmm/radiobutton.h>

#include "import/import_mode.h"

namespace tolvan::ui {

class ImportModeDialog final : public Gtk::Dialog {
 public:
  ImportModeDialog(Gtk::Window* parent, bool textexpander_wording);

  // Runs the dialog until it is answered: Replace or Append for OK, Cancel otherwise.
  ImportMode ask();

  Gtk::RadioButton& replace_button() { return replace_; }
  Gtk::RadioButton& append_button() { return append_; }
  bool textexpander_wording() const { return textexpander_; }

 private:
  void add_choice(Gtk::RadioButton& button, Gtk::Label& explanation, const char* label,
                  const char* text);

  bool textexpander_;
  Gtk::Label heading_;
  Gtk::RadioButton replace_;
  Gtk::Label replace_text_;
  Gtk::RadioButton append_;
  Gtk::Label append_text_;
};

// import_ask_user_for_import_mode
ImportMode ask_import_mode(Gtk::Window* parent, bool textexpander_wording);

}  // namespace tolvan::ui
