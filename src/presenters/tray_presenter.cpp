#include "presenters/tray_presenter.h"

namespace tolvan {

std::span<const TrayMenuItem> tray_menu_items() {
  using Kind = TrayMenuItem::Kind;
  static constexpr TrayMenuItem kItems[] = {
      {Kind::Item, "_Open Tolvan", TrayMenuAction::Open},
      {Kind::Separator, "", TrayMenuAction::Open},
      {Kind::CheckItem, "_Enabled", TrayMenuAction::Enabled},
      {Kind::Separator, "", TrayMenuAction::Open},
      {Kind::Item, "E_xit", TrayMenuAction::Exit},
  };
  return kItems;
}

void TrayPresenter::show() {
  view_.show_icon(picture_, picture_ == TrayPicture::Disabled ? kTrayTooltipDisabled
                                                              : kTrayTooltipEnabled);
}

void TrayPresenter::set_visible(bool visible) {
  if (visible) {
    visible_ = true;
    show();
  } else if (visible_) {
    visible_ = false;
    view_.remove_icon();
  }
}

void TrayPresenter::host_restarted() {
  if (!visible_) return;
  set_visible(false);
  set_visible(true);
}

void TrayPresenter::app_state_changed(int state) {
  picture_ = state != 0 ? TrayPicture::Disabled : TrayPicture::Enabled;
  checked_ = state == 0;
  if (visible_) show();
  view_.set_enabled_checked(checked_);
}

void TrayPresenter::clicked(int button, uint32_t time, std::optional<bool> ctrl) {
  switch (button) {
    case 1:
      if (ctrl.value_or(actions_.ctrl_held())) {
        actions_.set_state(checked_ ? 1 : 0);
      } else {
        actions_.show_main_window();
      }
      break;
    case 3:
      app_state_changed(actions_.state());
      view_.pop_up_menu(button, time);
      break;
    default:
      break;
  }
}

void TrayPresenter::menu_chosen(TrayMenuAction action, bool checked) {
  switch (action) {
    case TrayMenuAction::Open: actions_.show_main_window(); break;
    case TrayMenuAction::Enabled:
      // The item reports the state the presenter just gave it, too; that asks for nothing.
      if (checked != checked_) actions_.set_state(checked ? 0 : 1);
      break;
    case TrayMenuAction::Exit: actions_.quit(); break;
  }
}

}  // namespace tolvan
