// Where the abbreviation menu opens: at the text caret when the preferences ask for it and
// the application reports one, else at the mouse pointer; moved left so that it fits the
// monitor, and opened upwards when there is not enough room below.
#pragma once

#include <optional>

#include "settings/settings.h"

namespace tolvan {

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

struct ScreenArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// acm_placement "keyboard" (any case) asks for the caret; anything else is the pointer.
bool menu_wants_caret(const Settings& prefs);

// The point the menu starts from: the caret's lower left corner when wanted and known.
ScreenPoint menu_anchor(bool wants_caret, const std::optional<ScreenPoint>& caret,
                        ScreenPoint pointer);

// The menu's top left corner for a menu of `width` x `height` opened at `anchor` on the
// monitor `monitor` that holds it.
ScreenPoint menu_position(ScreenPoint anchor, int width, int height, const ScreenArea& monitor);

}  // namespace tolvan
