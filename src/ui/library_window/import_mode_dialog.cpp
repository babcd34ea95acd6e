#include "ui/library_window/import_mode_dialog.h"

#include <gtkmm/box.h>

namespace tolvan::ui {
namespace {

struct Wording {
  const char* replace;
  const char* replace_text;
  const char* append;
  const char* append_text;
};

constexpr Wording kAbbreviations{
    "_Replace: Remove all existing abbreviations and replace them with the ones being imported.",
    "Recommended if you are restoring a backup or you are importing all of your exported "
    "abbreviations from another computer and would like everything to be exactly the same on "
    "this computer as it was on the other computer.",
    "_Append: Append the imported abbreviations to your existing abbreviations.",
    "Recommended if you'd like to use the imported abbreviations alongside your existing "
    "abbreviations."};

constexpr Wording kSnippets{
    "_Replace: Remove all existing snippets and replace them with the ones being imported "
    "(you can always Cancel later).",
    "Recommended if you are restoring a backup, or if you are importing all of your snippets "
    "from TextExpander and would like everything to be exactly the same in Tolvan as it was "
    "in TextExpander.",
    "_Append: Append the imported snippets to your existing snippets.",
    "Recommended if you'd like to use the imported snippets alongside your existing "
    "snippets."};

// The texts wrap at about this many characters, so the dialog keeps a reading width.
constexpr int kExplanationChars = 60;

}  // namespace

ImportModeDialog::ImportModeDialog(Gtk::Window* parent, bool textexpander_wording)
    : Gtk::Dialog("Select Import Mode"), textexpander_(textexpander_wording) {
  if (parent) set_transient_for(*parent);
  set_modal(true);
  set_resizable(false);
  set_border_width(7);
  set_position(parent ? Gtk::WIN_POS_CENTER_ON_PARENT : Gtk::WIN_POS_CENTER);

  Gtk::Box& box = *get_content_area();
  box.set_spacing(4);
  heading_.set_markup("<b>Select Import Mode</b>");
  heading_.set_xalign(0);
  heading_.set_margin_bottom(4);
  box.pack_start(heading_, Gtk::PACK_SHRINK);

  const Wording& wording = textexpander_ ? kSnippets : kAbbreviations;
  add_choice(replace_, replace_text_, wording.replace, wording.replace_text);
  append_.join_group(replace_);
  add_choice(append_, append_text_, wording.append, wording.append_text);
  replace_.set_active(true);

  if (!textexpander_) add_button("_Cancel", Gtk::RESPONSE_CANCEL);
  add_button("_OK", Gtk::RESPONSE_OK);
  set_default_response(Gtk::RESPONSE_OK);
  // TextExpander's question has only one way out; the title bar offers no other.
  set_deletable(!textexpander_);
  show_all_children();
}

void ImportModeDialog::add_choice(Gtk::RadioButton& button, Gtk::Label& explanation,
                                  const char* label, const char* text) {
  button.set_label(label);
  button.set_use_underline(true);
  button.set_can_focus(false);
  // The longer wording would stretch the dialog past its parent on one line.
  if (auto* text_of_button = dynamic_cast<Gtk::Label*>(button.get_child())) {
    text_of_button->set_line_wrap(true);
    text_of_button->set_max_width_chars(kExplanationChars + 4);
  }
  explanation.set_text(text);
  explanation.set_line_wrap(true);
  explanation.set_max_width_chars(kExplanationChars);
  explanation.set_xalign(0);
  explanation.set_margin_start(24);
  explanation.set_margin_bottom(8);
  get_content_area()->pack_start(button, Gtk::PACK_SHRINK);
  get_content_area()->pack_start(explanation, Gtk::PACK_SHRINK);
}

ImportMode ImportModeDialog::ask() {
  int response = run();
  // Escape or the window manager's close: TextExpander's question is asked again.
  while (textexpander_ && response != Gtk::RESPONSE_OK) response = run();
  hide();
  if (response != Gtk::RESPONSE_OK) return ImportMode::Cancel;
  return replace_.get_active() ? ImportMode::Replace : ImportMode::Append;
}

ImportMode ask_import_mode(Gtk::Window* parent, bool textexpander_wording) {
  ImportModeDialog dialog(parent, textexpander_wording);
  return dialog.ask();
}

}  // namespace tolvan::ui
