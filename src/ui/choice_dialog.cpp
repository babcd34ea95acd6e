#include "ui/choice_dialog.h"

#include <gtkmm/box.h>

namespace tolvan::ui {
namespace {

// The texts wrap at about this many characters, so the dialog keeps a reading width.
constexpr int kExplanationChars = 60;

void wrap(Gtk::Label& label, int chars) {
  label.set_line_wrap(true);
  label.set_max_width_chars(chars);
  label.set_xalign(0);
}

}  // namespace

ChoiceDialog::ChoiceDialog(Gtk::Window* parent, const ChoiceQuestion& question)
    : Gtk::Dialog(question.title) {
  if (parent) set_transient_for(*parent);
  set_modal(true);
  set_resizable(false);
  set_border_width(7);
  set_position(parent ? Gtk::WIN_POS_CENTER_ON_PARENT : Gtk::WIN_POS_CENTER);

  Gtk::Box& box = *get_content_area();
  box.set_spacing(4);
  heading_.set_markup(question.heading);
  heading_.set_xalign(0);
  heading_.set_margin_bottom(4);
  box.pack_start(heading_, Gtk::PACK_SHRINK);
  if (!question.text.empty()) {
    text_.set_text(question.text);
    wrap(text_, kExplanationChars + 4);
    text_.set_margin_bottom(8);
    box.pack_start(text_, Gtk::PACK_SHRINK);
  }

  for (const Choice& choice : question.choices) {
    auto& button = *choices_.emplace_back(std::make_unique<Gtk::RadioButton>());
    if (choices_.size() > 1) button.join_group(*choices_.front());
    button.set_label(choice.label);
    button.set_use_underline(true);
    button.set_can_focus(false);
    // The longer options would stretch the dialog past its parent on one line.
    if (auto* text_of_button = dynamic_cast<Gtk::Label*>(button.get_child())) {
      text_of_button->set_line_wrap(true);
      text_of_button->set_max_width_chars(kExplanationChars + 4);
    }
    box.pack_start(button, Gtk::PACK_SHRINK);
    if (choice.explanation.empty()) continue;
    auto& explanation = *explanations_.emplace_back(std::make_unique<Gtk::Label>());
    explanation.set_markup(choice.explanation);
    wrap(explanation, kExplanationChars);
    explanation.set_margin_start(24);
    explanation.set_margin_bottom(8);
    box.pack_start(explanation, Gtk::PACK_SHRINK);
  }
  if (!choices_.empty()) choices_.front()->set_active(true);

  if (question.has_cancel) add_button("_Cancel", Gtk::RESPONSE_CANCEL);
  add_button("_OK", Gtk::RESPONSE_OK);
  set_default_response(Gtk::RESPONSE_OK);
  show_all_children();
}

std::optional<std::size_t> ChoiceDialog::ask() {
  const int response = run();
  hide();
  if (response != Gtk::RESPONSE_OK) return std::nullopt;
  return selected();
}

std::size_t ChoiceDialog::selected() const {
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    if (choices_[i]->get_active()) return i;
  }
  return 0;
}

}  // namespace tolvan::ui
