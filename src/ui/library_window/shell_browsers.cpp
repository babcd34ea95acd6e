#include "ui/library_window/shell_browsers.h"

namespace tolvan::ui {
namespace {

// Desktop entries name their icon after the application as a rule ("firefox.desktop" and
// "firefox"); a theme without it shows the row without an icon.
std::string icon_name_of(const std::string& application_id) {
  constexpr std::string_view kSuffix = ".desktop";
  if (application_id.size() > kSuffix.size() && application_id.ends_with(kSuffix))
    return application_id.substr(0, application_id.size() - kSuffix.size());
  return application_id;
}

}  // namespace

std::string ShellBrowsers::default_browser_name() {
  std::optional<BrowserInfo> browser = shell_.default_browser();
  return browser ? browser->name : "";
}

std::vector<BrowserChoice> ShellBrowsers::installed_browsers() {
  std::vector<BrowserChoice> out;
  for (const BrowserInfo& browser : shell_.browsers()) {
    if (browser.available) out.push_back({browser.name, browser.id, icon_name_of(browser.id)});
  }
  return out;
}

}  // namespace tolvan::ui
