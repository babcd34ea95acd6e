// What the tests on a real X server share: whether there is one, waiting for the desktop to
// get somewhere, and an xterm to hand the focus to.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace tolvan::x11 {

// Whether there is an X display to test on (without one the tests skip themselves).
inline bool have_display() {
  const char* display = std::getenv("DISPLAY");
  return display && *display;
}

// Whether `p` holds within five seconds.
template <class Predicate>
bool eventually(Predicate p) {
  for (int i = 0; i < 100; ++i) {
    if (p()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

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
  Xterm(const Xterm&) = delete;
  Xterm& operator=(const Xterm&) = delete;

 private:
  pid_t pid_ = -1;
};

}  // namespace tolvan::x11
