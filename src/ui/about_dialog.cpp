#include "ui/about_dialog.h"

#include <gtkmm/icontheme.h>

#include "presenters/about_contents.h"

namespace tolvan::ui {

AboutDialog::AboutDialog(Gtk::Window* parent, const std::string& installation_dir,
                         Prompts& prompts) {
  if (parent) set_transient_for(*parent);
  set_program_name(kAboutProgramName);
  set_version(TOLVAN_VERSION);
  set_comments(kAboutComment);
  // Tolvan's own icon once the desktop has it, else the theme's keyboard.
  set_logo_icon_name(Gtk::IconTheme::get_default()->has_icon("tolvan") ? "tolvan"
                                                                        : "input-keyboard");
  if (std::optional<std::string> license = about_license_text(installation_dir)) {
    set_license(*license);
    set_wrap_license(false);  // the file is laid out already
  } else {
    prompts.error(kLicenseMissing);
  }
}

void about_dialog_show(Gtk::Window* parent, const std::string& installation_dir,
                       Prompts& prompts) {
  AboutDialog dialog(parent, installation_dir, prompts);
  dialog.run();
}

}  // namespace tolvan::ui
