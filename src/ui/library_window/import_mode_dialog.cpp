#include "ui/library_window/import_mode_dialog.h"

namespace tolvan::ui {
namespace {

ChoiceQuestion import_mode_question(bool textexpander_wording) {
  ChoiceQuestion question{"Select Import Mode", "<b>Select Import Mode</b>", "", {}, true};
  if (textexpander_wording) {
    question.has_cancel = false;
    question.choices = {
        {"_Replace: Remove all existing snippets and replace them with the ones being imported "
         "(you can always Cancel later).",
         "Recommended if you are restoring a backup, or if you are importing all of your "
         "snippets from TextExpander and would like everything to be exactly the same in "
         "Tolvan as it was in TextExpander."},
        {"_Append: Append the imported snippets to your existing snippets.",
         "Recommended if you'd like to use the imported snippets alongside your existing "
         "snippets."}};
  } else {
    question.choices = {
        {"_Replace: Remove all existing abbreviations and replace them with the ones being "
         "imported.",
         "Recommended if you are restoring a backup or you are importing all of your exported "
         "abbreviations from another computer and would like everything to be exactly the "
         "same on this computer as it was on the other computer."},
        {"_Append: Append the imported abbreviations to your existing abbreviations.",
         "Recommended if you'd like to use the imported abbreviations alongside your existing "
         "abbreviations."}};
  }
  return question;
}

}  // namespace

ImportModeDialog::ImportModeDialog(Gtk::Window* parent, bool textexpander_wording)
    : ChoiceDialog(parent, import_mode_question(textexpander_wording)),
      textexpander_(textexpander_wording) {
  // TextExpander's question has only one way out; the title bar offers no other.
  set_deletable(!textexpander_);
}

ImportMode ImportModeDialog::ask_mode() {
  int response = run();
  // Escape or the window manager's close: TextExpander's question is asked again.
  while (textexpander_ && response != Gtk::RESPONSE_OK) response = run();
  hide();
  if (response != Gtk::RESPONSE_OK) return ImportMode::Cancel;
  return selected() == 0 ? ImportMode::Replace : ImportMode::Append;
}

ImportMode ask_import_mode(Gtk::Window* parent, bool textexpander_wording) {
  ImportModeDialog dialog(parent, textexpander_wording);
  return dialog.ask_mode();
}

}  // namespace tolvan::ui
