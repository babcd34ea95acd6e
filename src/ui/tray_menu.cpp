#include "ui/tray_menu.h"

#include <gtkmm/separatormenuitem.h>

namespace tolvan::ui {

TrayMenu::TrayMenu(TrayPresenter& presenter) {
  for (const TrayMenuItem& item : tray_menu_items()) {
    switch (item.kind) {
      case TrayMenuItem::Kind::Separator:
        menu_.append(*Gtk::manage(new Gtk::SeparatorMenuItem));
        break;
      case TrayMenuItem::Kind::CheckItem: {
        enabled_ = Gtk::manage(new Gtk::CheckMenuItem(item.label, true));
        enabled_->set_active(presenter.enabled_checked());
        Gtk::CheckMenuItem* check = enabled_;
        check->signal_toggled().connect([&presenter, check, action = item.action] {
          presenter.menu_chosen(action, check->get_active());
        });
        menu_.append(*enabled_);
        break;
      }
      case TrayMenuItem::Kind::Item: {
        auto* entry = Gtk::manage(new Gtk::MenuItem(item.label, true));
        entry->signal_activate().connect(
            [&presenter, action = item.action] { presenter.menu_chosen(action); });
        menu_.append(*entry);
        break;
      }
    }
  }
  menu_.show_all();
  auto_close_.watch(menu_);
  menu_.signal_deactivate().connect([this] {
    if (auto closed = std::move(closed_)) closed();
  });
}

void TrayMenu::set_enabled_checked(bool checked) {
  if (enabled_) enabled_->set_active(checked);
}

void TrayMenu::pop_up(int button, uint32_t time, std::function<void()> closed) {
  closed_ = std::move(closed);
  // GTK 3 keeps the plain pop-up at the pointer only as a deprecated call; the newer ones
  // need an event of ours, which a StatusNotifier host's request does not give.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_menu_popup(menu_.gobj(), nullptr, nullptr, nullptr, nullptr, static_cast<guint>(button),
                 time ? time : gtk_get_current_event_time());
  G_GNUC_END_IGNORE_DEPRECATIONS
}

}  // namespace tolvan::ui
