// TrayPresenter: the tray icon's behaviour without its toolkit. It shows the expander's state
// (picture and tooltip), keeps the menu's "_Enabled" item in step with it, and turns clicks
// into actions: left opens the main window, Ctrl+left flips the state, right pops the menu up
// after refreshing its check item, middle does nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tolvan {

enum class TrayPicture { Enabled, Disabled };

// The tray menu, top to bottom.
enum class TrayMenuAction { Open, Enabled, Exit };
struct TrayMenuItem {
  enum class Kind { Item, CheckItem, Separator } kind;
  const char* label;      // with its mnemonic; "" for a separator
  TrayMenuAction action;  // meaningless for a separator
};
std::span<const TrayMenuItem> tray_menu_items();

inline constexpr const char* kTrayTooltipEnabled = "Tolvan - Enabled";
inline constexpr const char* kTrayTooltipDisabled = "Tolvan - Disabled";

class TrayView {
 public:
  virtual ~TrayView() = default;
  // Adds the icon when it is not there yet, else changes it.
  virtual void show_icon(TrayPicture picture, const std::string& tooltip) = 0;
  virtual void remove_icon() = 0;
  // Sets the "_Enabled" item; a view whose item reports the change as a toggle lets the
  // presenter hear it (it then asks for the state it already has).
  virtual void set_enabled_checked(bool checked) = 0;
  // Pops the menu up for the click of `button` at `time` (0: now).
  virtual void pop_up_menu(int button, uint32_t time) = 0;
};

// What the tray's clicks and menu do in the program.
class TrayActions {
 public:
  virtual ~TrayActions() = default;
  virtual void show_main_window() = 0;
  virtual void set_state(int state) = 0;  // 0 enabled, 1 disabled
  virtual int state() const = 0;  // 0 enabled, 1 disabled
  virtual void quit() = 0;              // quits with status 0
  // Whether Ctrl is held now, for hosts that report a click without its modifiers.
  virtual bool ctrl_held() const = 0;
};

class TrayPresenter {
 public:
  TrayPresenter(TrayView& view, TrayActions& actions) : view_(view), actions_(actions) {}

  // Shown in the state shown last, or taken away.
  void set_visible(bool visible);
  bool visible() const { return visible_; }
  // The picture, the tooltip and the check item show `state`.
  void app_state_changed(int state);
  // The tray came back (the host restarted): the icon is added again in its last state.
  void host_restarted();

  // Button 1 left, 2 middle, 3 right. `ctrl` is what the click
  // carried; nullopt when the host does not say (the keyboard is asked then).
  void clicked(int button, uint32_t time, std::optional<bool> ctrl);
  // The menu is about to show without a click of ours (a host that draws its own menu).
  void menu_about_to_show() { app_state_changed(actions_.state()); }
  void menu_chosen(TrayMenuAction action, bool checked = false);

  TrayPicture picture() const { return picture_; }
  bool enabled_checked() const { return checked_; }

 private:
  void show();

  TrayView& view_;
  TrayActions& actions_;
  bool visible_ = false;
  TrayPicture picture_ = TrayPicture::Enabled;  // the state shown last
  bool checked_ = true;
};

}  // namespace tolvan
