// Launchers against a recording shell: what would be started, opened or launched, with which
// arguments and in which folder.
#include "launch/launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/sim/recording_shell.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using sim::ShellCall;
using testing::TempDir;
using testing::write_file;

constexpr std::time_t kJuly2009 = 1246449600;  // 2009-07-01 12:00 UTC

struct Scene {
  Scene() {
    env.now = [] { return kJuly2009; };
    env.clipboard_text = [this] { return clipboard; };
    tool = dir.file("tool");
    write_file(tool, "#!/bin/sh\n");
    chmod(tool.c_str(), 0755);
    document = dir.file("notes.txt");
    write_file(document, "notes");
  }
  Launcher launcher(bool portable = false) {
    return Launcher(shell, env, portable, [this](const std::string& m) { reports.push_back(m); });
  }
  Status run(const ProgInfo& program) { return launcher().launch_program(program); }
  Status open(const WebsiteInfo& website, bool portable = false) {
    return launcher(portable).launch_website(website);
  }
  void install_browsers() {
    shell.installed_browsers = {{"firefox.desktop", "Firefox", "firefox", true},
                                {"Gone-Browser.desktop", "Gone", "gone-browser", false}};
    shell.default_browser_id = "firefox.desktop";
  }

  TempDir dir;
  std::string tool;
  std::string document;
  std::optional<std::string> clipboard;
  MacroEnvironment env;
  sim::RecordingShell shell;
  std::vector<std::string> reports;
};

ProgInfo program(std::string location, std::string parameters = "", std::string run_in = "") {
  ProgInfo p;
  p.location = std::move(location);
  p.parameters = std::move(parameters);
  p.run_in = std::move(run_in);
  return p;
}

ShellCall start(std::vector<std::string> argv, std::string folder) {
  return {ShellCall::Start, std::move(argv), std::move(folder)};
}
ShellCall opened(std::string location) { return {ShellCall::Open, {std::move(location)}, ""}; }

TEST(ProgramLauncher, StartsInTheFolderOfItsPathWithMacrosRunAndWordsSplit) {
  Scene s;
  s.clipboard = "Q3\r\nreport";
  ASSERT_TRUE(s.run(program(s.tool, "--year %(Year) \"%(clipboard)\" 'a b'")));
  EXPECT_EQ(s.shell.calls,
            std::vector{start({s.tool, "--year", "2009", "Q3\nreport", "a b"}, s.dir.path())});
}

TEST(ProgramLauncher, TheRunInFolderWinsAndABareNameIsFoundOnPath) {
  Scene s;
  s.shell.programs["gedit"] = "/usr/bin/gedit";
  ASSERT_TRUE(s.run(program(s.tool, "", "/srv/data")));
  ASSERT_TRUE(s.run(program("gedit", "-s")));
  ASSERT_TRUE(s.run(program("gedit", "", "/srv/data")));
  EXPECT_EQ(s.shell.calls, (std::vector{start({s.tool}, "/srv/data"),
                                        start({"/usr/bin/gedit", "-s"}, ""),
                                        start({"/usr/bin/gedit"}, "/srv/data")}));
}

TEST(ProgramLauncher, FoldersDocumentsAndAddressesOpenWithTheirApplications) {
  Scene s;
  ASSERT_TRUE(s.run(program(s.dir.path(), "ignored")));
  ASSERT_TRUE(s.run(program(s.document, "ignored \"even unclosed")));
  ASSERT_TRUE(s.run(program("https://example.org/?q=1")));
  EXPECT_EQ(s.shell.calls, (std::vector{opened(s.dir.path()), opened(s.document),
                                        opened("https://example.org/?q=1")}));
}

TEST(ProgramLauncher, ApplicationFilesAreLaunchedWithTheParametersAsTheirFiles) {
  Scene s;
  const std::string app = s.dir.file("Viewer.DESKTOP");
  write_file(app, "[Desktop Entry]\n");
  ASSERT_TRUE(s.run(program(app, "a.png 'b c.png'")));
  EXPECT_EQ(s.shell.calls, (std::vector<ShellCall>{{ShellCall::LaunchApplicationFile,
                                                    {app, "a.png", "b c.png"}, s.dir.path()}}));
}

TEST(ProgramLauncher, RunsAsAdministratorOnlyForProgramsAndOnlyWithPkexec) {
  Scene s;
  ProgInfo elevated = program(s.tool, "-x");
  elevated.run_as_admin = 1;
  ASSERT_TRUE(s.run(elevated));  // no pkexec: started as the user
  s.shell.pkexec_installed = true;
  ASSERT_TRUE(s.run(elevated));
  ProgInfo folder = program(s.dir.path());
  folder.run_as_admin = 1;
  ProgInfo document = program(s.document);
  document.run_as_admin = 1;
  ASSERT_TRUE(s.run(folder));
  ASSERT_TRUE(s.run(document));
  EXPECT_EQ(s.shell.calls,
            (std::vector<ShellCall>{start({s.tool, "-x"}, s.dir.path()),
                                    {ShellCall::StartAsAdministrator, {s.tool, "-x"}, s.dir.path()},
                                    opened(s.dir.path()), opened(s.document)}));
}

TEST(ProgramLauncher, NothingToStartOrBrokenParametersAreReportedAndStartNothing) {
  Scene s;
  Launcher launcher = s.launcher();
  Abbreviation missing;
  missing.data = program(s.dir.file("no-such-tool"));
  Abbreviation unknown_name;
  unknown_name.data = program("no-such-program-anywhere");
  Abbreviation broken;
  broken.data = program(s.tool, "\"unclosed");
  Abbreviation empty;
  empty.data = program("");
  Abbreviation text;
  text.data = std::string("just text");
  for (const Abbreviation* a : {&missing, &unknown_name, &broken, &empty, &text}) launcher.launch(*a, 0);
  EXPECT_TRUE(s.shell.calls.empty());
  ASSERT_EQ(s.reports.size(), 3u);
  EXPECT_NE(s.reports[0].find("no-such-tool"), std::string::npos) << s.reports[0];
  EXPECT_NE(s.reports[1].find("no-such-program-anywhere"), std::string::npos) << s.reports[1];
  EXPECT_NE(s.reports[2].find("\"unclosed"), std::string::npos) << s.reports[2];
}

TEST(WebsiteLauncher, TheChosenBrowserGetsTheExpandedAddress) {
  Scene s;
  s.install_browsers();
  s.clipboard = "tolvan launchers";
  ASSERT_TRUE(s.open({"https://example.org/%(Year)?q=%(clipboard)", "FIREFOX.desktop"}));
  EXPECT_EQ(s.shell.calls,
            (std::vector<ShellCall>{{ShellCall::OpenInBrowser,
                                     {"firefox.desktop", "https://example.org/2009?q=tolvan launchers"},
                                     ""}}));
}

TEST(WebsiteLauncher, TheDefaultBrowserWhenNoneIsChosenOrTheChosenOneIsGone) {
  Scene s;
  s.install_browsers();
  ASSERT_TRUE(s.open({"https://a.example", ""}));
  ASSERT_TRUE(s.open({"https://b.example", "uninstalled.desktop"}));
  s.shell.browsers_fail = true;  // listed, but removed before it could start
  ASSERT_TRUE(s.open({"https://c.example", "firefox.desktop"}));
  s.shell.installed_browsers.clear();
  ASSERT_TRUE(s.open({"https://d.example", "firefox.desktop"}));
  EXPECT_EQ(s.shell.calls, (std::vector{opened("https://a.example"), opened("https://b.example"),
                                        opened("https://c.example"), opened("https://d.example")}));
}

TEST(WebsiteLauncher, PortableModePassesOverABrowserThisComputerLacks) {
  Scene s;
  s.install_browsers();
  ASSERT_TRUE(s.open({"https://a.example", "gone-browser.desktop"}, true));
  ASSERT_TRUE(s.open({"https://b.example", "gone-browser.desktop"}, false));
  ASSERT_TRUE(s.open({"https://c.example", "firefox.desktop"}, true));
  EXPECT_EQ(s.shell.calls,
            (std::vector<ShellCall>{
                opened("https://a.example"),
                {ShellCall::OpenInBrowser, {"Gone-Browser.desktop", "https://b.example"}, ""},
                {ShellCall::OpenInBrowser, {"firefox.desktop", "https://c.example"}, ""}}));
}

TEST(WebsiteLauncher, AnEmptyAddressOpensNothingAndAFailedOpenIsReported) {
  Scene s;
  Launcher launcher = s.launcher();
  Abbreviation empty;
  empty.data = WebsiteInfo{"", ""};
  launcher.launch(empty, 0);
  EXPECT_TRUE(s.shell.calls.empty());
  s.shell.opening_fails = true;
  Abbreviation site;
  site.data = WebsiteInfo{"https://example.org", ""};
  launcher.launch(site, 0);
  EXPECT_EQ(s.reports, std::vector<std::string>{"Could not open https://example.org"});
  EXPECT_FALSE(open_location(s.shell, "/tmp"));
  s.shell.opening_fails = false;
  EXPECT_TRUE(open_location(s.shell, "/tmp"));
}

// The launch pad hides before a launcher typed into it starts, and only then.
class RecordingLaunchPad final : public LaunchPadWindow {
 public:
  WindowId window = 0;
  std::vector<std::string>* calls = nullptr;
  WindowId launch_pad_window() const override { return window; }
  void hide_launch_pad_soon() override { calls->push_back("hide launch pad"); }
};

TEST(LaunchPad, HidesBeforeALauncherTypedIntoItStarts) {
  Scene s;
  Launcher launcher = s.launcher();
  std::vector<std::string> order;
  RecordingLaunchPad pad;
  pad.calls = &order;
  Abbreviation site;
  site.data = WebsiteInfo{"https://example.org", ""};
  Abbreviation text;
  text.data = std::string("just text");

  launcher.launch(site, 42);  // no launch pad yet
  launcher.set_launch_pad(&pad);
  launcher.launch(site, 42);  // the launch pad has no window yet
  pad.window = 42;
  launcher.launch(site, 7);   // typed elsewhere
  launcher.launch(text, 42);  // not a launcher
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(s.shell.calls.size(), 3u);
  launcher.launch(site, 42);
  EXPECT_EQ(order, std::vector<std::string>{"hide launch pad"});
  EXPECT_EQ(s.shell.calls.size(), 4u);
}

TEST(LauncherMacros, OnlyDatesTimesAndTheClipboardAreRun) {
  MacroEnvironment env;
  env.now = [] { return kJuly2009; };
  env.clipboard_text = [] { return std::optional<std::string>("clip"); };
  EXPECT_EQ(launcher_insertion_macros_execute("%(Year)/%(clipboard)/%(cursor)/%(Key Enter)/%%(clipboard)", env),
            "2009/clip/%(cursor)/%(Key Enter)/%(clipboard)");
}

}  // namespace
}  // namespace tolvan
