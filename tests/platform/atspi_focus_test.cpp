// What Tolvan believes of the caret another application reports through AT-SPI: only a
// caret of the active window's own process, inside that window. The values come from other
// processes, so nonsense among them must come to "unknown", never to a tooltip elsewhere.
#include "platform/x11/atspi_focus.h"

#include <gtest/gtest.h>

#include <climits>

namespace tolvan::x11 {
namespace {

constexpr Rect kFrame{100, 120, 600, 420};

FocusedAccessible focused(uint32_t pid, std::optional<Rect> caret) {
  FocusedAccessible f;
  f.pid = pid;
  f.caret = caret;
  return f;
}

TEST(BelievedCaret, ACaretInsideTheActiveWindowOfItsProcess) {
  const Rect caret{110, 356, 111, 373};
  EXPECT_EQ(believed_caret(focused(42, caret), 42, kFrame), caret);
  // On the frame's left and top edges, and at its right edge (after the last character).
  EXPECT_EQ(believed_caret(focused(42, Rect{100, 120, 101, 137}), 42, kFrame), (Rect{100, 120, 101, 137}));
  EXPECT_EQ(believed_caret(focused(42, Rect{600, 400, 601, 417}), 42, kFrame), (Rect{600, 400, 601, 417}));
}

TEST(BelievedCaret, AnotherProcessOrNoneIsNotBelieved) {
  const Rect caret{110, 356, 111, 373};
  EXPECT_EQ(believed_caret(focused(42, caret), 43, kFrame), std::nullopt) << "another application's focus";
  EXPECT_EQ(believed_caret(focused(0, caret), 0, kFrame), std::nullopt) << "neither process is known";
  EXPECT_EQ(believed_caret(focused(42, std::nullopt), 42, kFrame), std::nullopt) << "no caret reported";
  EXPECT_EQ(believed_caret(FocusedAccessible{}, 42, kFrame), std::nullopt);
}

TEST(BelievedCaret, NonsenseCoordinatesAreNotBelieved) {
  for (const Rect& caret : {Rect{99, 200, 100, 217}, Rect{601, 200, 602, 217}, Rect{300, 119, 301, 136},
                            Rect{300, 420, 301, 437}, Rect{-5, -5, -4, 12}, Rect{INT_MIN, INT_MIN, INT_MIN, INT_MIN},
                            Rect{INT_MAX, INT_MAX, INT_MAX, INT_MAX}, Rect{300, 200, 301, 150}}) {
    EXPECT_EQ(believed_caret(focused(42, caret), 42, kFrame), std::nullopt)
        << caret.left << "," << caret.top << " " << caret.right << "," << caret.bottom;
  }
  EXPECT_EQ(believed_caret(focused(42, Rect{0, 0, 1, 16}), 42, Rect{}), std::nullopt) << "an unmapped window";
}

}  // namespace
}  // namespace tolvan::x11
