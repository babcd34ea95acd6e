// The tray icon as a StatusNotifierItem on the session bus, for desktops whose tray is a
// StatusNotifierHost (KDE Plasma, GNOME with the AppIndicator extension, Xfce, LXQt, ...):
// the item at /StatusNotifierItem under the name org.kde.StatusNotifierItem-<pid>-1 with
// the pictures as pixmaps, the tooltip, Activate (left click), SecondaryActivate (middle)
// and ContextMenu (right click); and its menu at /MenuBar as com.canonical.dbusmenu for
// hosts that draw the menu themselves. The item registers with the StatusNotifierWatcher
// whenever one appears, so a tray that restarts finds it again.
#pragma once

#include <functional>
#include <string>

#include "presenters/tray_presenter.h"

typedef struct _GDBusConnection GDBusConnection;
typedef struct _GDBusNodeInfo GDBusNodeInfo;
typedef struct _GCancellable GCancellable;

namespace tolvan::ui {

class StatusNotifierItem {
 public:
  struct Host {
    std::function<void(int button)> clicked;  // 1 Activate, 2 SecondaryActivate, 3 ContextMenu
    std::function<void(TrayMenuAction action, bool checked)> menu_chosen;
    std::function<void()> menu_about_to_show;
    std::function<void(bool registered)> registration;  // with the watcher, or not any more
  };

  explicit StatusNotifierItem(Host host);
  ~StatusNotifierItem();
  StatusNotifierItem(const StatusNotifierItem&) = delete;
  StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

  // Follows the watcher from now on; registration() tells how it goes.
  void start();
  bool registered() const { return registered_; }

  void show(TrayPicture picture, const std::string& tooltip);
  void hide();  // the item stays on the bus, Passive: hosts leave it out
  void set_enabled_checked(bool checked);

  const std::string& bus_name() const { return bus_name_; }

 private:
  struct Calls;
  void watcher_appeared(GDBusConnection* bus);
  void watcher_vanished();
  bool export_on(GDBusConnection* bus);
  void register_with_watcher();
  void emit_item_signal(const char* name, const char* status = nullptr);
  void menu_changed();

  Host host_;
  GDBusNodeInfo* item_info_ = nullptr;
  GDBusNodeInfo* menu_info_ = nullptr;
  GCancellable* cancellable_;
  GDBusConnection* bus_ = nullptr;
  unsigned watch_ = 0;
  unsigned item_object_ = 0;
  unsigned menu_object_ = 0;
  std::string bus_name_;
  bool registered_ = false;

  TrayPicture picture_ = TrayPicture::Enabled;
  std::string tooltip_ = kTrayTooltipEnabled;
  bool active_ = false;
  bool checked_ = true;
  unsigned menu_revision_ = 1;
};

}  // namespace tolvan::ui
