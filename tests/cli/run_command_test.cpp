// tolvan-cli run without a display and with wrong arguments: a clear message, no engine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

#include "cli/cli.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

// DISPLAY as the test wants it, and back as it was afterwards.
class DisplayVariable {
 public:
  explicit DisplayVariable(const char* value) {
    if (const char* old = std::getenv("DISPLAY")) old_ = old;
    if (value) setenv("DISPLAY", value, 1);
    else unsetenv("DISPLAY");
  }
  ~DisplayVariable() {
    if (old_) setenv("DISPLAY", old_->c_str(), 1);
    else unsetenv("DISPLAY");
  }

 private:
  std::optional<std::string> old_;
};

struct RunResult {
  int status;
  std::string out, err;
};

RunResult run_cli(const testing::TempDir& dir, std::vector<std::string> args) {
  args.insert(args.begin(), {"--config-dir", dir.path(), "run"});
  std::ostringstream out, err;
  int status = cli::cli_main(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(RunCommand, WithoutADisplayItSaysSoAndFails) {
  testing::TempDir dir;
  {
    DisplayVariable none(nullptr);
    RunResult r = run_cli(dir, {});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "") << "never ready";
    EXPECT_EQ(r.err, "tolvan-cli run: No X display: DISPLAY is not set.\n");
  }
  {
    // A display that does not exist is another reason, named with it.
    DisplayVariable gone(":987");
    RunResult r = run_cli(dir, {});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tolvan-cli run: Cannot open the X display :987.\n");
  }
}

TEST(RunCommand, UnknownArgumentsAndHelp) {
  testing::TempDir dir;
  RunResult bad = run_cli(dir, {"--frobnicate"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("Unexpected argument '--frobnicate'"), std::string::npos);
  RunResult help = run_cli(dir, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: tolvan-cli [--config-dir DIR] run [--library FILE]", 0), 0u);
}

}  // namespace
}  // namespace tolvan
