// The environment of the programs Tolvan starts.
#include "platform/x11/child_environment.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

TEST(ChildEnvironment, LoaderHooksAndTolvansOwnLaunchAreRemovedTheRestKept) {
  const std::vector<std::string> tolvans = {
      "HOME=/home/ann",           "LD_PRELOAD=/usr/lib/libasan.so", "PATH=/usr/bin:/bin",
      "DESKTOP_STARTUP_ID=tolvan-1", "GIO_LAUNCHED_DESKTOP_FILE=/usr/share/applications/t.desktop",
      "GIO_LAUNCHED_DESKTOP_FILE_PID=42", "LD_AUDIT=x", "LD_DEBUG=all", "LD_PROFILE=y",
      "XDG_ACTIVATION_TOKEN=t",   "LD_LIBRARY_PATH=/opt/lib", "LANG=de_DE.UTF-8",
      "LD_PRELOADED=keep",        "EMPTY="};
  EXPECT_EQ(child_environment(tolvans),
            (std::vector<std::string>{"HOME=/home/ann", "PATH=/usr/bin:/bin", "LD_LIBRARY_PATH=/opt/lib",
                                      "LANG=de_DE.UTF-8", "LD_PRELOADED=keep", "EMPTY="}));
}

TEST(ChildEnvironment, EntriesWithoutANameAreDropped) {
  const std::vector<std::string> odd = {"no-equals", "=value", "", "A=b=c"};
  EXPECT_EQ(child_environment(odd), std::vector<std::string>{"A=b=c"});
}

}  // namespace
}  // namespace tolvan
