// TrayIcon: the tray icon on whatever tray the desktop has. A StatusNotifierItem while a
// StatusNotifierWatcher takes it; an XEmbed icon otherwise (and again when the watcher goes
// away). Until the session bus has answered nothing is shown, so a desktop with both kinds
// of tray never shows two icons.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "presenters/tray_presenter.h"
#include "ui/status_notifier_item.h"
#include "ui/tray_menu.h"
#include "ui/xembed_tray_icon.h"

namespace tolvan::ui {

class TrayIcon final : public TrayView {
 public:
  enum class Backend { Undecided, StatusNotifier, XEmbed };

  // `in_tray` runs each time a tray has taken the icon (registered with the watcher, or
  // embedded in the XEmbed tray).
  explicit TrayIcon(std::function<void(Backend)> in_tray = {});
  // Clicks and menu choices go to `presenter` from now on, and the tray is looked for.
  void attach(TrayPresenter& presenter);
  // The icon leaves every tray, the menu goes.
  void detach();
  Backend backend() const { return backend_; }

  // TrayView
  void show_icon(TrayPicture picture, const std::string& tooltip) override;
  void remove_icon() override;
  void set_enabled_checked(bool checked) override;
  void pop_up_menu(int button, uint32_t time) override;

 private:
  void use(Backend backend);
  void apply();

  std::function<void(Backend)> in_tray_;
  TrayPresenter* presenter_ = nullptr;
  std::unique_ptr<TrayMenu> menu_;
  std::unique_ptr<StatusNotifierItem> notifier_;
  std::unique_ptr<XEmbedTrayIcon> xembed_;
  Backend backend_ = Backend::Undecided;
  bool visible_ = false;
  TrayPicture picture_ = TrayPicture::Enabled;
  std::string tooltip_ = kTrayTooltipEnabled;
  bool checked_ = true;
};

}  // namespace tolvan::ui
