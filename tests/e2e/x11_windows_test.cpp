// X11Windows on a real server with a window manager: the active window, its class, and
// bringing another window to the front.
#include "platform/x11/x11_windows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "x11_test_support.h"

namespace tolvan::x11 {
namespace {

TEST(X11Windows, FollowsTheActiveWindowAndBringsOneBack) {
  if (!have_display()) GTEST_SKIP() << "no X display";
  X11Windows windows;
  ASSERT_TRUE(windows.ok());
  Xterm first("TolvanFirst");
  ASSERT_TRUE(eventually([&] { return windows.class_name(windows.foreground()) == "TolvanFirst"; }));
  const WindowId first_window = windows.foreground();
  Xterm second("TolvanSecond");
  ASSERT_TRUE(eventually([&] { return windows.class_name(windows.foreground()) == "TolvanSecond"; }));

  std::optional<Caret> caret = windows.caret();
  ASSERT_TRUE(caret);
  EXPECT_FALSE(caret->reported);
  EXPECT_EQ(caret->window, windows.foreground());
  EXPECT_EQ(caret->rect.left, caret->rect.right) << "an empty rectangle at the window's origin";

  EXPECT_TRUE(windows.bring_to_front(first_window));
  EXPECT_TRUE(eventually([&] { return windows.foreground() == first_window; }));
  EXPECT_FALSE(windows.bring_to_front(0x7ffffff0)) << "no such window";
  EXPECT_EQ(windows.class_name(0x7ffffff0), "");
}

}  // namespace
}  // namespace tolvan::x11
