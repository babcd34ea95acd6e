#include "presenters/library_window/browser_list.h"

#include <algorithm>
#include <cctype>

namespace tolvan {

std::vector<BrowserRow> browser_rows(BrowserList& browsers) {
  const std::string name = browsers.default_browser_name();
  std::vector<BrowserRow> rows{
      {name.empty() ? "Default Browser" : "Default Browser (" + name + ")", "", "web-browser"}};
  std::vector<BrowserChoice> installed = browsers.installed_browsers();
  std::erase_if(installed, [](const BrowserChoice& b) { return b.name.empty() || b.program.empty(); });
  if (!installed.empty()) rows.push_back({});
  for (BrowserChoice& b : installed) rows.push_back({b.name, b.program, b.icon_name});
  return rows;
}

size_t browser_row_index(const std::vector<BrowserRow>& rows, std::string_view stored) {
  auto same = [](std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
  };
  for (size_t i = 1; i < rows.size(); ++i) {
    if (!rows[i].label.empty() && same(rows[i].value, stored)) return i;
  }
  return 0;
}

}  // namespace tolvan
