// The tray icon for desktops with an XEmbed system tray (GtkStatusIcon): the picture at the
// size the tray asks for, the tooltip, and each button press with its modifiers. GTK 3 keeps
// GtkStatusIcon only as deprecated API; it is still the way into those trays.
#pragma once

#include <functional>
#include <string>

#include "presenters/tray_presenter.h"

typedef struct _GtkStatusIcon GtkStatusIcon;

namespace tolvan::ui {

class XEmbedTrayIcon {
 public:
  // Told of every single press (a double click is two presses): button, time, Ctrl held.
  using Clicked = std::function<void(int button, uint32_t time, bool ctrl)>;

  // `embedded` runs each time a tray takes the icon.
  XEmbedTrayIcon(Clicked clicked, std::function<void()> embedded);
  ~XEmbedTrayIcon();
  XEmbedTrayIcon(const XEmbedTrayIcon&) = delete;
  XEmbedTrayIcon& operator=(const XEmbedTrayIcon&) = delete;

  void show(TrayPicture picture, const std::string& tooltip);
  void hide();
  bool embedded() const;
  // Off while the menu is up: the tooltip would cover it.
  void set_tooltip_enabled(bool enabled);

 private:
  void set_picture_for_size(int size);

  Clicked clicked_;
  std::function<void()> embedded_;
  GtkStatusIcon* icon_;
  TrayPicture picture_ = TrayPicture::Enabled;
  int size_ = 22;
};

}  // namespace tolvan::ui
