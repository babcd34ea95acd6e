// DefaultBrowserOnly: the browser list while Tolvan does not list the installed browsers
// yet: the desktop's default browser for web addresses, by name, and nothing else.
#pragma once

#include "presenters/library_window/browser_list.h"

namespace tolvan::ui {

class DefaultBrowserOnly final : public BrowserList {
 public:
  std::string default_browser_name() override;
  std::vector<BrowserChoice> installed_browsers() override { return {}; }
};

}  // namespace tolvan::ui
