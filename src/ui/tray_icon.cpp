#include "ui/tray_icon.h"

#include <glib.h>

namespace tolvan::ui {

TrayIcon::TrayIcon(std::function<void(Backend)> in_tray) : in_tray_(std::move(in_tray)) {}

void TrayIcon::attach(TrayPresenter& presenter) {
  presenter_ = &presenter;
  menu_ = std::make_unique<TrayMenu>(presenter);
  menu_->set_enabled_checked(checked_);
  xembed_ = std::make_unique<XEmbedTrayIcon>(
      [this](int button, uint32_t time, bool ctrl) { presenter_->clicked(button, time, ctrl); },
      [this] {
        g_info("tray icon embedded in the XEmbed system tray");
        if (in_tray_) in_tray_(Backend::XEmbed);
      });
  StatusNotifierItem::Host host;
  host.clicked = [this](int button) { presenter_->clicked(button, 0, std::nullopt); };
  host.menu_chosen = [this](TrayMenuAction action, bool checked) {
    presenter_->menu_chosen(action, checked);
  };
  host.menu_about_to_show = [this] { presenter_->menu_about_to_show(); };
  host.registration = [this](bool registered) {
    use(registered ? Backend::StatusNotifier : Backend::XEmbed);
    if (registered && in_tray_) in_tray_(Backend::StatusNotifier);
  };
  notifier_ = std::make_unique<StatusNotifierItem>(std::move(host));
  notifier_->set_enabled_checked(checked_);
  notifier_->start();
}

void TrayIcon::detach() {
  notifier_.reset();
  xembed_.reset();
  menu_.reset();
  presenter_ = nullptr;
  backend_ = Backend::Undecided;
}

void TrayIcon::use(Backend backend) {
  if (backend == backend_) return;
  backend_ = backend;
  apply();
}

void TrayIcon::apply() {
  if (!xembed_ || !notifier_) return;
  const bool sni = backend_ == Backend::StatusNotifier, xembed = backend_ == Backend::XEmbed;
  if (visible_ && sni) notifier_->show(picture_, tooltip_);
  else notifier_->hide();
  if (visible_ && xembed) xembed_->show(picture_, tooltip_);
  else xembed_->hide();
}

void TrayIcon::show_icon(TrayPicture picture, const std::string& tooltip) {
  visible_ = true;
  picture_ = picture;
  tooltip_ = tooltip;
  apply();
}

void TrayIcon::remove_icon() {
  visible_ = false;
  apply();
}

void TrayIcon::set_enabled_checked(bool checked) {
  checked_ = checked;
  if (notifier_) notifier_->set_enabled_checked(checked);
  if (menu_) menu_->set_enabled_checked(checked);
}

void TrayIcon::pop_up_menu(int button, uint32_t time) {
  if (!menu_) return;
  xembed_->set_tooltip_enabled(false);
  menu_->pop_up(button, time, [this] {
    if (xembed_) xembed_->set_tooltip_enabled(true);
  });
}

}  // namespace tolvan::ui
