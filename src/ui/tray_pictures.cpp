#include "ui/tray_pictures.h"

#include <gio/gio.h>

#include <cstdlib>
#include <string>

extern "C" void tolvan_register_resource(void);

namespace tolvan::ui {
namespace {

void register_resources_once() {
  static const bool registered = (tolvan_register_resource(), true);
  (void)registered;
}

}  // namespace

Glib::RefPtr<Gdk::Pixbuf> tray_picture(TrayPicture picture, int size) {
  register_resources_once();
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
