// BrowserList: the web browsers a website launcher may name, for the editor's "Open _with: "
// combo. The combo's rows: the default browser (stored as ""), a separator, then each
// installed browser (stored as its program file).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

struct BrowserChoice {
  std::string name;       // "Firefox"
  std::string program;    // what a launcher stores: the program file
  std::string icon_name;  // from the icon theme; "" for none
};

class BrowserList {
 public:
  virtual ~BrowserList() = default;
  // The system's default browser's name; "" when unknown.
  virtual std::string default_browser_name() = 0;
  virtual std::vector<BrowserChoice> installed_browsers() = 0;
};

struct BrowserRow {
  std::string label;  // "" for the separator row
  std::string value;  // what a launcher stores when the row is chosen
  std::string icon_name;
};

// The combo's rows; browsers without a name or a program are left out.
std::vector<BrowserRow> browser_rows(BrowserList& browsers);
// The row of a launcher's stored browser (compared without case), else the default row.
size_t browser_row_index(const std::vector<BrowserRow>& rows, std::string_view stored);

}  // namespace tolvan
