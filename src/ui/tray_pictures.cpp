#include "ui/tray_pictures.h"

#include <gio/gio.h>

#include <cstdlib>
#include <string>

#include "ui/resources.h"

namespace tolvan::ui {

Glib::RefPtr<Gdk::Pixbuf> tray_picture(TrayPicture picture, int size) {
  register_tolvan_resources();
  int nearest = kTrayPictureSizes[0];
  for (int s : kTrayPictureSizes) {
    if (std::abs(s - size) < std::abs(nearest - size)) nearest = s;
  }
  const std::string path = std::string("/org/tolvan/Tolvan/tray/tolvan-") +
                           (picture == TrayPicture::Enabled ? "enabled" : "disabled") + "-" +
                           std::to_string(nearest) + ".png";
  auto pixbuf = Gdk::Pixbuf::create_from_resource(path);
  if (nearest == size) return pixbuf;
  return pixbuf->scale_simple(size, size, Gdk::INTERP_BILINEAR);
}

}  // namespace tolvan::ui
