// ShellBrowsers: the browser list as the desktop has it: the applications that open web
// addresses, each stored by its application id, which is how a website launcher names the
// browser it opens in.
#pragma once

#include "platform/shell.h"
#include "presenters/library_window/browser_list.h"

namespace tolvan::ui {

class ShellBrowsers final : public BrowserList {
 public:
  explicit ShellBrowsers(Shell& shell) : shell_(shell) {}

  std::string default_browser_name() override;
  std::vector<BrowserChoice> installed_browsers() override;

 private:
  Shell& shell_;
};

}  // namespace tolvan::ui
