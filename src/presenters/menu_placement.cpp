#include "presenters/menu_placement.h"

#include <strings.h>

namespace tolvan {

bool menu_wants_caret(const Settings& prefs) {
  return strcasecmp(prefs.get("acm_placement").c_str(), "keyboard") == 0;
}

ScreenPoint menu_anchor(bool wants_caret, const std::optional<ScreenPoint>& caret,
                        ScreenPoint pointer) {
  return wants_caret && caret ? *caret : pointer;
}

ScreenPoint menu_position(ScreenPoint anchor, int width, int height, const ScreenArea& monitor) {
  ScreenPoint at = anchor;
  const int right = monitor.x + monitor.width;
  if (at.x < monitor.x) {
    at.x = monitor.x;
  } else if (at.x + width > right) {
    at.x = right - width;
  }
  const int below = monitor.y + monitor.height - anchor.y;
  const int above = anchor.y - monitor.y;
  // Upwards when it fits there, or when there is no more room below than above; a menu
  // taller than both stays where it has more room.
  if (below < height && (above >= height || below <= above)) at.y = anchor.y - height;
  return at;
}

}  // namespace tolvan
