// tolvan-cli sync on a temporary data folder: the status, a poll that reads a changed
// TextExpander sync file into the library and saves it, and the refusal while Tolvan runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/instance_lock.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::cli;
using testing::CliRun;
using testing::TempDir;
using testing::write_file;

const std::string kSettings =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST "
    "1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n"
    "<dict><key>Snippets Imported</key><date>2010-01-01T00:00:00Z</date><key>groupsTE2</key><array><dict><key>name</key><string>Mail</string>"
    "<key>snippetUUIDs</key><array><string>11111111-1111-4111-8111-111111111111</string></array>"
    "<key>uuidString</key><string>AAAAAAAA-AAAA-4AAA-8AAA-AAAAAAAAAAAA</string></dict></array>"
    "<key>snippetsTE2</key><array><dict><key>abbreviation</key><string>sig</string>"
    "<key>plainText</key><string>Regards</string><key>snippetType</key>"
    "<integer>0</integer><key>uuidString</key><string>11111111-1111-4111-8111-111111111111"
    "</string></dict></array></dict></plist>\n";

void set_pref(const TempDir& dir, const std::string& key, const std::string& value) {
  ASSERT_EQ(cli(dir, {"prefs", "set", key, value}).status, 0) << key;
}

TEST(SyncCommand, StatusAndAPollThatReadsTheTextExpanderFileIntoTheLibrary) {
  TempDir dir;
  TempDir shared;
  EXPECT_EQ(cli(dir, {"sync", "status"}).out.rfind("Mode: off\n", 0), 0u);
  EXPECT_EQ(cli(dir, {"sync", "poll"}).status, 1);

  set_pref(dir, "use_diff_abbrev_dir", "1");
  set_pref(dir, "sync_te", "1");
  set_pref(dir, "aldir", "0");
  set_pref(dir, "diff_abbrev_dir", shared.path());
  std::filesystem::create_directory(shared.file("TextExpander"));
  write_file(shared.file("TextExpander/Settings.textexpander"), kSettings);

  CliRun status = cli(dir, {"sync", "status"});
  EXPECT_NE(status.out.find("Mode: TextExpander compatible\n"), std::string::npos) << status.out;
  EXPECT_NE(status.out.find("File: " + shared.file("TextExpander/Settings.textexpander") + "\n"),
            std::string::npos) << status.out;
  EXPECT_NE(status.out.find("Last time stamp: (none)\n"), std::string::npos) << status.out;

  CliRun poll = cli(dir, {"sync", "poll"});
  EXPECT_EQ(poll.status, 0) << poll.err;
  EXPECT_EQ(poll.out, "Read " + shared.file("TextExpander/Settings.textexpander") + "\n");
  EXPECT_EQ(cli(dir, {"library", "list", dir.file("abbreviations.tlv")}).out,
            "Mail\t0\tsig\tRegards\tRegards\n");
  EXPECT_FALSE(std::filesystem::is_empty(dir.file("backups")));
  EXPECT_EQ(cli(dir, {"sync", "status"}).out.find("Last time stamp: (none)"), std::string::npos);

  CliRun again = cli(dir, {"sync", "poll"});
  EXPECT_EQ(again.out, "No change in " + shared.file("TextExpander/Settings.textexpander") + "\n");

  InstanceLock running(dir.path());
  ASSERT_TRUE(*running.acquire());
  CliRun refused = cli(dir, {"sync", "poll"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("Tolvan is running on the data folder"), std::string::npos);
}

}  // namespace
}  // namespace tolvan
