// AboutDialog: Tolvan's About box: name, version, comment and the licence from License.txt
// in the installation data folder. When that file is missing the user is told, and the box
// shows without it.
#pragma once

#include <gtkmm/aboutdialog.h>

#include <string>

#include "core/prompts.h"

namespace tolvan::ui {

class AboutDialog final : public Gtk::AboutDialog {
 public:
  AboutDialog(Gtk::Window* parent, const std::string& installation_dir, Prompts& prompts);
};

// about_dialog_show: the box, until the user closes it.
void about_dialog_show(Gtk::Window* parent, const std::string& installation_dir,
                       Prompts& prompts);

}  // namespace tolvan::ui
