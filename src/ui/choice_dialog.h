// ChoiceDialog: a modal question answered by picking one of a few options: a bold heading,
// an optional text, radio buttons (each with an optional indented explanation), and OK with
// or without Cancel. The radio buttons take no focus, so the keyboard goes from OK to Cancel
// and the options are reached by their mnemonics.
#pragma once

#include <gtkmm/dialog.h>
#include <gtkmm/label.h>
#include <gtkmm/radiobutton.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tolvan::ui {

struct Choice {
  std::string label;        // with a mnemonic
  std::string explanation;  // Pango markup; empty: none
};

struct ChoiceQuestion {
  std::string title;
  std::string heading;  // Pango markup
  std::string text;     // empty: none
  std::vector<Choice> choices;
  bool has_cancel = true;
};

class ChoiceDialog : public Gtk::Dialog {
 public:
  ChoiceDialog(Gtk::Window* parent, const ChoiceQuestion& question);

  // Runs the dialog once: the option selected when OK was pressed; none for Cancel, Escape
  // or the window manager's close.
  std::optional<std::size_t> ask();
  // The option selected now, however the dialog was closed.
  std::size_t selected() const;

  Gtk::RadioButton& choice(std::size_t index) { return *choices_.at(index); }

 private:
  Gtk::Label heading_;
  Gtk::Label text_;
  std::vector<std::unique_ptr<Gtk::RadioButton>> choices_;
  std::vector<std::unique_ptr<Gtk::Label>> explanations_;
};

}  // namespace tolvan::ui
