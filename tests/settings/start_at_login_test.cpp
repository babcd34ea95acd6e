#include "settings/start_at_login.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

// Records what it is asked to do; can be told to fail.
class FakeAutostart : public Autostart {
 public:
  bool is_enabled() const override { return enabled; }
  Status enable(const std::string& executable, const std::string& arguments) override {
    if (fail) return Error{"cannot"};
    enabled = true;
    command = executable + "|" + arguments;
    return Status::success();
  }
  Status disable() override {
    if (fail) return Error{"cannot"};
    enabled = false;
    return Status::success();
  }
  bool enabled = false;
  bool fail = false;
  std::string command;
};

TEST(StartAtLogin, SwitchesTheEntryAndReportsFourOrZero) {
  RunTimeVariables gvar;
  gvar.set("executable_path", "/opt/tolvan/bin/tolvan");
  FakeAutostart autostart;
  EXPECT_EQ(get_start_with_windows(autostart), 0);
  EXPECT_EQ(set_start_with_windows(autostart, gvar, 0), 0);  // nothing to remove
  EXPECT_EQ(set_start_with_windows(autostart, gvar, kStartWithWindows), 0);
  EXPECT_EQ(autostart.command, "/opt/tolvan/bin/tolvan| --systray");
  EXPECT_EQ(get_start_with_windows(autostart), 4);
  EXPECT_EQ(set_start_with_windows(autostart, gvar, 0), 0);
  EXPECT_EQ(get_start_with_windows(autostart), 0);
  autostart.fail = true;
  EXPECT_EQ(set_start_with_windows(autostart, gvar, kStartWithWindows), 4);
  EXPECT_EQ(set_start_with_windows(autostart, gvar, 0), 4);
}

TEST(StartAtLogin, RunValueQuotesThePath) {
  RunTimeVariables gvar;
  gvar.set("executable_path", "/home/a b/tolvan");
  EXPECT_EQ(build_reg_run_value(gvar, true), "\"/home/a b/tolvan\" --systray");
  EXPECT_EQ(build_reg_run_value(gvar, false), "\"/home/a b/tolvan\"");
}

}  // namespace
}  // namespace tolvan
