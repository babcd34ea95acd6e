// tolvan-cli run: Tolvan's expansion engine on the real X display, with the configured
// preferences and library, until it is interrupted (SIGINT or SIGTERM).
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <ostream>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "engine/engine.h"
#include "platform/x11/x11_platform.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli [--config-dir DIR] run [--library FILE]\n\n"
    "Runs Tolvan's expansion engine on the X display named by DISPLAY, with the\n"
    "preferences of the configured folder, and prints \"ready\" once it watches the\n"
    "keyboard. It runs until interrupted (Ctrl+C, SIGTERM) and then removes its hooks.\n\n"
    "Options:\n"
    "  --library FILE      the abbreviation file (default: the configured library)\n";

// SIGINT and SIGTERM blocked for every thread started meanwhile, and read as a file.
class SignalWait {
 public:
  SignalWait() {
    sigemptyset(&set_);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set_, &old_);
    fd_ = signalfd(-1, &set_, SFD_CLOEXEC);
  }
  ~SignalWait() {
    if (fd_ >= 0) close(fd_);
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  bool ok() const { return fd_ >= 0; }
  void wait() {
    signalfd_siginfo info;
    while (read(fd_, &info, sizeof info) < 0) {
    }
  }

 private:
  sigset_t set_{}, old_{};
  int fd_ = -1;
};

}  // namespace

int run_run_command(const Invocation& inv) {
  std::string library_file;
  for (size_t i = 0; i < inv.args.size(); ++i) {
    const std::string& a = inv.args[i];
    if (a == "--help" || a == "-h") {
      inv.out << kUsage;
      return 0;
    }
    if (a == "--library" && i + 1 < inv.args.size()) {
      library_file = inv.args[++i];
    } else {
      inv.err << "tolvan-cli run: Unexpected argument '" << a << "'.\n" << kUsage;
      return 2;
    }
  }
  SignalWait signals;
  if (!signals.ok()) {
    inv.err << "tolvan-cli run: Cannot wait for signals.\n";
    return 1;
  }
  auto desktop = x11::X11Platform::open();
  if (!desktop) {
    inv.err << "tolvan-cli run: " << desktop.error() << "\n";
    return 1;
  }
  Session session(inv);
  (void)session.load_library(library_file);  // problems went to the prompts (stderr)

  Engine engine((*desktop)->platform(), session.library, MacroEnvironment{});
  engine.prefs_reloaded(session.prefs);
  if (!engine.start()) {
    inv.err << "tolvan-cli run: The keyboard hook could not be installed.\n";
    return 1;
  }
  inv.out << "ready" << std::endl;
  signals.wait();
  engine.stop(true);
  return 0;
}

}  // namespace tolvan::cli
