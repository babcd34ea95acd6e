// The tray's two pictures (resources/tray, compiled into the program) at the sizes trays use.
#pragma once

#include <gdkmm/pixbuf.h>

#include "presenters/tray_presenter.h"

namespace tolvan::ui {

inline constexpr int kTrayPictureSizes[] = {16, 22, 32};

// The picture drawn for `size` pixels when there is one, else the nearest one scaled.
Glib::RefPtr<Gdk::Pixbuf> tray_picture(TrayPicture picture, int size);

}  // namespace tolvan::ui
