// Where the abbreviation menu opens: caret or pointer, kept on the monitor, flipped upwards.
#include "presenters/menu_placement.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

const ScreenArea kMonitor{0, 0, 1280, 1024};

TEST(MenuPlacement, CaretOnlyWhenAskedForAndKnown) {
  Settings prefs;
  EXPECT_FALSE(menu_wants_caret(prefs));
  prefs.set("acm_placement", "mouse");
  EXPECT_FALSE(menu_wants_caret(prefs));
  prefs.set("acm_placement", "KeyBoard");
  EXPECT_TRUE(menu_wants_caret(prefs));

  const ScreenPoint caret{100, 200}, pointer{500, 600};
  EXPECT_EQ(menu_anchor(true, caret, pointer), caret);
  EXPECT_EQ(menu_anchor(true, std::nullopt, pointer), pointer);
  EXPECT_EQ(menu_anchor(false, caret, pointer), pointer);
}

TEST(MenuPlacement, TopLeftCornerAtTheAnchorWhenItFits) {
  EXPECT_EQ(menu_position({100, 200}, 300, 400, kMonitor), (ScreenPoint{100, 200}));
  // Exactly the room below.
  EXPECT_EQ(menu_position({100, 624}, 300, 400, kMonitor), (ScreenPoint{100, 624}));
}

TEST(MenuPlacement, MovedLeftAtTheRightEdgeAndRightOfTheLeftEdge) {
  EXPECT_EQ(menu_position({1200, 100}, 300, 400, kMonitor), (ScreenPoint{980, 100}));
  const ScreenArea second{1280, 0, 1920, 1080};
  EXPECT_EQ(menu_position({1000, 100}, 300, 400, second), (ScreenPoint{1280, 100}));
  EXPECT_EQ(menu_position({3100, 100}, 300, 400, second), (ScreenPoint{2900, 100}));
}

TEST(MenuPlacement, OpensUpwardsNearTheBottom) {
  EXPECT_EQ(menu_position({100, 900}, 300, 400, kMonitor), (ScreenPoint{100, 500}));
  // Too tall for either side: the side with more room.
  EXPECT_EQ(menu_position({100, 300}, 300, 900, kMonitor), (ScreenPoint{100, 300}));
  EXPECT_EQ(menu_position({100, 700}, 300, 900, kMonitor), (ScreenPoint{100, -200}));
  // Equal room above and below, neither enough: upwards.
  EXPECT_EQ(menu_position({100, 512}, 300, 900, kMonitor), (ScreenPoint{100, -388}));
  // A monitor that does not start at the top.
  const ScreenArea lower{0, 1024, 1280, 1024};
  EXPECT_EQ(menu_position({10, 1900}, 300, 400, lower), (ScreenPoint{10, 1500}));
}

}  // namespace
}  // namespace tolvan
