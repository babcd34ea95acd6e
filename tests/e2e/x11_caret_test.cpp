// X11Windows with AT-SPI on a real server: the caret of a GTK entry is reported inside its
// window and follows the typing, and the focus in a password entry is known as secret. Both
// ways of following the focus are tried: on a thread of its own, and on the default main
// context, turned by the test as a main loop would turn it. libatspi keeps one connection
// per process, set up for the first tracker: each case needs a process of its own (as CTest
// runs them).
#include <gtest/gtest.h>
// After GoogleTest, whose names Xlib's macros would take.
#include <X11/Xlib.h>
#undef Status
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <glib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/x11/atspi_focus.h"
#include "platform/x11/x11_windows.h"
#include "x11_test_support.h"

namespace tolvan::x11 {
namespace {

// text_field_app with the entry focused, ended with the test.
class FieldApp {
 public:
  FieldApp() {
    char report[] = "/tmp/tolvan-caret-XXXXXX";
    const int fd = mkstemp(report);
    if (fd >= 0) close(fd);
    report_ = report;
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
      execl(TOLVAN_TEXT_FIELD_APP, TOLVAN_TEXT_FIELD_APP, "--report", report, "--focus", "entry",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    FILE* lines = fdopen(out[0], "r");
    char line[64];
    ready_ = lines && fgets(line, sizeof line, lines) && std::string(line) == "ready\n";
    if (lines) fclose(lines);
  }
  ~FieldApp() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::remove(report_.c_str());
  }
  bool ready() const { return ready_; }

 private:
  pid_t pid_ = -1;
  bool ready_ = false;
  std::string report_;
};

// The window's frame on the screen, asked of the server directly.
Rect screen_frame(WindowId window) {
  Display* display = XOpenDisplay(nullptr);
  Rect frame;
  XWindowAttributes attributes{};
  int x = 0, y = 0;
  Window child = None;
  if (display && XGetWindowAttributes(display, window, &attributes) &&
      XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
    frame = Rect{x, y, x + attributes.width, y + attributes.height};
  if (display) XCloseDisplay(display);
  return frame;
}

void type(const char* keys) {
  const std::string command = std::string("xdotool ") + keys;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// The GTK application shows its window with the entry focused; X11Windows is asked as the
// expander asks it.
class X11Caret : public ::testing::TestWithParam<FocusTracking> {
 protected:
  void SetUp() override {
    if (!have_display()) GTEST_SKIP() << "no X display";
    app_ = std::make_unique<FieldApp>();
    ASSERT_TRUE(app_->ready());
    windows_ = std::make_unique<X11Windows>(GetParam());
    ASSERT_TRUE(windows_->ok());
    if (!windows_->focus_tracker()->wait_started()) GTEST_SKIP() << "no accessibility bus";
  }
  void TearDown() override {
    windows_.reset();
    app_.reset();
  }

  // Whether `p` holds within five seconds, the focus events that reached the default
  // context being handled in between.
  template <class Predicate>
  static bool settles(Predicate p) {
    return eventually([&] {
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
      return p();
    });
  }

  std::unique_ptr<FieldApp> app_;
  std::unique_ptr<X11Windows> windows_;
};

TEST_P(X11Caret, FollowsTypingInAGtkEntryAndKnowsPasswordFields) {
  X11Windows& windows = *windows_;

  std::optional<Caret> caret;
  ASSERT_TRUE(settles([&] { return (caret = windows.caret()) && caret->reported; }))
      << "the focused entry's caret is known";
  const Rect frame = screen_frame(caret->window);
  EXPECT_EQ(caret->window, windows.foreground());
  EXPECT_GE(caret->rect.left, frame.left);
  EXPECT_LE(caret->rect.right, frame.right);
  EXPECT_GE(caret->rect.top, frame.top);
  EXPECT_LE(caret->rect.bottom, frame.bottom);
  EXPECT_LT(caret->rect.top, caret->rect.bottom) << "a caret as high as the line";
  EXPECT_FALSE(windows.focus_is_secret());

  // Each typed character moves the caret right, on the same line.
  int left = caret->rect.left;
  for (const char* word : {"type abc", "type wxyz"}) {
    type(word);
    EXPECT_TRUE(settles([&] { return (caret = windows.caret()) && caret->reported && caret->rect.left > left; }))
        << "after " << word << " the caret is still at " << caret->rect.left;
    EXPECT_LE(caret->rect.right, frame.right);
    left = caret->rect.left;
  }

  // The password entry follows the entry.
  type("key Tab");
  EXPECT_TRUE(settles([&] { return windows.focus_is_secret(); }));
  type("key shift+Tab");
  EXPECT_TRUE(settles([&] { return !windows.focus_is_secret(); }));
}

TEST_P(X11Caret, UnknownInAWindowWithoutAccessibility) {
  X11Windows& windows = *windows_;
  ASSERT_TRUE(settles([&] { return windows.caret() && windows.caret()->reported; }));
  type("key Tab");
  ASSERT_TRUE(settles([&] { return windows.focus_is_secret(); }));

  // An xterm takes the focus: it tells AT-SPI nothing, and the GTK entry's caret and
  // password field are no longer believed.
  Xterm xterm("TolvanCaretXterm");
  EXPECT_TRUE(settles([&] { return windows.class_name(windows.foreground()) == "TolvanCaretXterm"; }));
  std::optional<Caret> caret = windows.caret();
  ASSERT_TRUE(caret);
  EXPECT_FALSE(caret->reported);
  EXPECT_FALSE(windows.focus_is_secret());
}

INSTANTIATE_TEST_SUITE_P(Tracking, X11Caret,
                         ::testing::Values(FocusTracking::kOwnThread, FocusTracking::kMainContext),
                         [](const auto& info) {
                           return info.param == FocusTracking::kOwnThread ? "OwnThread" : "MainContext";
                         });

}  // namespace
}  // namespace tolvan::x11
