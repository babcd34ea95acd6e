#include "ui/library_window/default_browser_only.h"

#include <giomm/appinfo.h>

namespace tolvan::ui {

std::string DefaultBrowserOnly::default_browser_name() {
  Glib::RefPtr<Gio::AppInfo> app = Gio::AppInfo::get_default_for_uri_scheme("http");
  return app ? app->get_display_name() : std::string();
}

}  // namespace tolvan::ui
