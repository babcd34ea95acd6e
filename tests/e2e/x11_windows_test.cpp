// X11Windows on a real server with a window manager: the active window, its class, and
// bringing another window to the front.
#include "platform/x11/x11_windows.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace tolvan::x11 {
namespace {

// An xterm of the given class, ended with the test.
class Xterm {
 public:
  explicit Xterm(const std::string& klass) {
    pid_ = fork();
    if (pid_ == 0) {
      execlp("xterm", "xterm", "-class", klass.c_str(), "-e", "sleep", "30", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Xterm() {
    if (pid_ > 0) kill(pid_, SIGTERM);
  }

 private:
  pid_t pid_ = -1;
};

template <class Predicate>
bool eventually(Predicate p) {
  for (int i = 0; i < 100; ++i) {
    if (p()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

TEST(X11Windows, FollowsTheActiveWindowAndBringsOneBack) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) GTEST_SKIP() << "no X display";
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
