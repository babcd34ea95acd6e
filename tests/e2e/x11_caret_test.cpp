// X11Windows with AT-SPI on a real server: the caret of a GTK entry is reported inside its
// window and follows the typing, the focus in a password entry is known as secret, and
// Tolvan's questions leave GTK's accessibility bridge as it was (it does not start
// reporting key events).
#include <gtest/gtest.h>
// After GoogleTest, whose names Xlib's macros would take.
#include <X11/Xlib.h>
#undef Status
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/x11/atspi_focus.h"
#include "platform/x11/x11_windows.h"
#include "x11_test_support.h"

namespace tolvan::x11 {
namespace {

// A program that says on its first line of output that it is ready, ended with the test.
class ReadyProgram {
 public:
  ReadyProgram(std::vector<std::string> argv, const std::string& ready_line) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
      std::vector<char*> args;
      for (std::string& arg : argv) args.push_back(arg.data());
      args.push_back(nullptr);
      execv(args[0], args.data());
      _exit(127);
    }
    close(out[1]);
    FILE* lines = fdopen(out[0], "r");
    char line[64];
    ready_ = lines && fgets(line, sizeof line, lines) && std::string(line) == ready_line + "\n";
    if (lines) fclose(lines);
  }
  ~ReadyProgram() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  ReadyProgram(const ReadyProgram&) = delete;
  ReadyProgram& operator=(const ReadyProgram&) = delete;
  bool ready() const { return ready_; }

 private:
  pid_t pid_ = -1;
  bool ready_ = false;
};

// A file name of its own, removed with the test.
class TemporaryFile {
 public:
  TemporaryFile() {
    char name[] = "/tmp/tolvan-caret-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    name_ = name;
  }
  ~TemporaryFile() { std::remove(name_.c_str()); }
  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

// text_field_app with the entry focused.
class FieldApp {
 public:
  bool ready() const { return app_.ready(); }

 private:
  TemporaryFile report_;
  ReadyProgram app_{{TOLVAN_TEXT_FIELD_APP, "--report", report_.name(), "--focus", "entry"}, "ready"};
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

// The accessibility bus's address, asked of the session bus ("" without one).
std::string accessibility_bus() {
  FILE* reply = popen(
      "gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus --method org.a11y.Bus.GetAddress "
      "2>/dev/null",
      "r");
  if (!reply) return "";
  std::string text;
  char chunk[256];
  while (fgets(chunk, sizeof chunk, reply)) text += chunk;
  pclose(reply);
  const size_t first = text.find('\''), last = text.rfind('\'');
  return first == std::string::npos || last <= first ? "" : text.substr(first + 1, last - first - 1);
}

// How many key events GTK's accessibility bridge reports to the AT-SPI registry (and waits
// for) while `keys` are typed, as dbus-monitor sees the calls on the accessibility bus.
int reported_key_events(const std::string& bus, const char* keys) {
  char log[] = "/tmp/tolvan-bridge-XXXXXX";
  const int fd = mkstemp(log);
  if (fd < 0) return -1;
  const pid_t monitor = fork();
  if (monitor == 0) {
    dup2(fd, STDOUT_FILENO);
    execlp("dbus-monitor", "dbus-monitor", "--address", bus.c_str(),
           "type='method_call',member='NotifyListenersSync'", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fd);
  auto count = [&](const char* what) {
    int found = 0;
    if (FILE* in = fopen(log, "r")) {
      char chunk[1024];
      while (fgets(chunk, sizeof chunk, in)) found += std::string(chunk).find(what) != std::string::npos;
      fclose(in);
    }
    return found;
  };
  // The monitor announces itself with the bus's welcome before it watches.
  const bool watching = eventually([&] { return count("NameAcquired") > 0; });
  type(keys);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(monitor, SIGTERM);
  waitpid(monitor, nullptr, 0);
  const int reported = watching ? count("member=NotifyListenersSync") : -1;
  std::remove(log);
  return reported;
}

// A libatspi client that has asked the applications for their states.
class LibatspiClient {
 public:
  bool ready() const { return client_.ready(); }

 private:
  ReadyProgram client_{{"/usr/bin/python3", "-c",
                        "import pyatspi, time\n"
                        "for app in pyatspi.Registry.getDesktop(0): app.getState()\n"
                        "print('asked', flush=True)\n"
                        "time.sleep(30)\n"},
                       "asked"};
};

// The GTK application shows its window with the entry focused; X11Windows is asked as the
// expander asks it.
class X11Caret : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_display()) GTEST_SKIP() << "no X display";
    app_ = std::make_unique<FieldApp>();
    ASSERT_TRUE(app_->ready());
    windows_ = std::make_unique<X11Windows>();
    ASSERT_TRUE(windows_->ok());
    if (!windows_->focus_tracker()->wait_started()) GTEST_SKIP() << "no accessibility bus";
  }
  void TearDown() override {
    windows_.reset();
    app_.reset();
  }

  std::unique_ptr<FieldApp> app_;
  std::unique_ptr<X11Windows> windows_;
};

TEST_F(X11Caret, FollowsTypingInAGtkEntryAndKnowsPasswordFields) {
  X11Windows& windows = *windows_;

  std::optional<Caret> caret;
  ASSERT_TRUE(eventually([&] { return (caret = windows.caret()) && caret->reported; }))
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
    EXPECT_TRUE(eventually([&] { return (caret = windows.caret()) && caret->reported && caret->rect.left > left; }))
        << "after " << word << " the caret is still at " << caret->rect.left;
    EXPECT_LE(caret->rect.right, frame.right);
    left = caret->rect.left;
  }

  // The password entry follows the entry.
  type("key Tab");
  EXPECT_TRUE(eventually([&] { return windows.focus_is_secret(); }));
  type("key shift+Tab");
  EXPECT_TRUE(eventually([&] { return !windows.focus_is_secret(); }));
}

TEST_F(X11Caret, UnknownInAWindowWithoutAccessibility) {
  X11Windows& windows = *windows_;
  ASSERT_TRUE(eventually([&] { return windows.caret() && windows.caret()->reported; }));
  type("key Tab");
  ASSERT_TRUE(eventually([&] { return windows.focus_is_secret(); }));

  // An xterm takes the focus: it tells AT-SPI nothing, and the GTK entry's caret and
  // password field are no longer believed.
  Xterm xterm("TolvanCaretXterm");
  EXPECT_TRUE(eventually([&] { return windows.class_name(windows.foreground()) == "TolvanCaretXterm"; }));
  std::optional<Caret> caret = windows.caret();
  ASSERT_TRUE(caret);
  EXPECT_FALSE(caret->reported);
  EXPECT_FALSE(windows.focus_is_secret());
}

TEST_F(X11Caret, AChangeOfTheActiveWindowIsLookedAtUnasked) {
  X11Windows& windows = *windows_;
  type("key Tab");
  ASSERT_TRUE(eventually([&] { return windows.focus_is_secret(); }));
  // The look that last question asked for is made before the xterm comes.
  const auto asked = std::chrono::steady_clock::now();
  eventually([&] { return std::chrono::steady_clock::now() - asked > std::chrono::milliseconds(10 * AtspiFocus::kSettleMs); });

  // Nobody asks the tracker while the xterm takes over: the window manager's announcement
  // alone makes it look again, and the password entry no longer has the focus.
  Xterm xterm("TolvanCaretXterm");
  EXPECT_TRUE(eventually([&] { return windows.focus_tracker()->secret_pid() == 0; }));
}


TEST_F(X11Caret, QuestionsLeaveTheApplicationsKeyEventsAlone) {
  X11Windows& windows = *windows_;
  const std::string bus = accessibility_bus();
  ASSERT_FALSE(bus.empty()) << "no accessibility bus address";
  ASSERT_TRUE(eventually([&] { return windows.caret() && windows.caret()->reported; }));
  EXPECT_FALSE(windows.focus_is_secret());
  windows.focus_may_have_moved();

  EXPECT_EQ(reported_key_events(bus, "type abc"), 0)
      << "after Tolvan's questions, GTK reports every key event to the registry and waits";

  // What the count would show otherwise: a libatspi client makes the bridge report them.
  LibatspiClient client;
  ASSERT_TRUE(client.ready());
  EXPECT_GT(reported_key_events(bus, "type abc"), 0);
}

}  // namespace
}  // namespace tolvan::x11
