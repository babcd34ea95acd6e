// ImportModeDialog: "Select Import Mode", the question whether an imported library
// replaces the user's or joins it. In TextExpander's wording it speaks of snippets, has
// only OK and cannot be closed: the import is already read and goes ahead either way.
#pragma once

#include "import/import_mode.h"
#include "ui/choice_dialog.h"

namespace tolvan::ui {

class ImportModeDialog final : public ChoiceDialog {
 public:
  ImportModeDialog(Gtk::Window* parent, bool textexpander_wording);

  // Runs the dialog until it is answered: Replace or Append for OK, Cancel otherwise.
  ImportMode ask_mode();

  Gtk::RadioButton& replace_button() { return choice(0); }
  Gtk::RadioButton& append_button() { return choice(1); }
  bool textexpander_wording() const { return textexpander_; }

 private:
  bool textexpander_;
};

// import_ask_user_for_import_mode
ImportMode ask_import_mode(Gtk::Window* parent, bool textexpander_wording);

}  // namespace tolvan::ui
