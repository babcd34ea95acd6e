#include "ui/about_dialog.h"

#include "presenters/about_contents.h"

namespace tolvan::ui {

AboutDialog::AboutDialog(Gtk::Window* parent, const std::string& installation_dir,
                         Prompts& prompts) {
  if (parent) set_transient_for(*parent);
  set_program_name(kAboutProgramName);
  set_version(TOLVAN_VERSION);
  set_comments(kAboutComment);
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
