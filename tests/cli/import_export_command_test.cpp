// tolvan-cli import and export on a temporary data folder: TextExpander and Tolvan files in
// and out, the import mode, the messages, and the refusal while Tolvan runs on the folder.
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
using testing::read_file;
using testing::TempDir;
using testing::write_file;

const std::string kSettings =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST "
    "1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n"
    "<dict><key>Snippets Imported</key><date>2010-01-01T00:00:00Z</date>"
    "<key>Delimiters</key><string> ;</string><key>Expander Mode</key><integer>2</integer>"
    "<key>groupsTE2</key><array><dict><key>name</key><string>Mail</string>"
    "<key>snippetUUIDs</key><array><string>11111111-1111-4111-8111-111111111111</string></array>"
    "<key>uuidString</key><string>AAAAAAAA-AAAA-4AAA-8AAA-AAAAAAAAAAAA</string></dict></array>"
    "<key>snippetsTE2</key><array><dict><key>abbreviation</key><string>sig</string>"
    "<key>plainText</key><string>Regards %key:return%%key:tab%</string><key>snippetType</key>"
    "<integer>0</integer><key>uuidString</key><string>11111111-1111-4111-8111-111111111111"
    "</string></dict></array></dict></plist>\n";

const std::string kOwnLibrary =
    "<Tolvan n=\"All Abbreviations / Folders\" t=\"0\" d=\"0\" m=\"1\">"
    "<f n=\"Work\" t=\"0\" d=\"0\"><a a=\"btw\" d=\"\" e=\"by the way %(Key Enter)%(Key Escape)\" "
    "c=\"2\" t=\"3\" r=\"0\" x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/></f></Tolvan>";

std::string library_listing(const TempDir& dir) {
  return cli(dir, {"library", "list", dir.file("data/abbreviations.tlv")}).out;
}

TEST(ImportCommand, TextExpanderFilesJoinTheLibraryAndItIsSavedWithABackup) {
  TempDir dir;
  write_file(dir.file("Settings.textexpander"), kSettings);
  CliRun run = cli(dir, {"--config-dir", dir.file("data"), "import", "--mode", "replace",
                         dir.file("Settings.textexpander")});
  // The data folder of the cli helper is overridden by the later --config-dir.
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Successfully imported 1 snippet from 1 group.\n");
  EXPECT_EQ(library_listing(dir), "Mail\t0\tsig\tRegards %key:return%%key:tab%\tRegards %key:return%%key:tab%\n");
  ASSERT_TRUE(std::filesystem::is_directory(dir.file("data/backups")));
  EXPECT_FALSE(std::filesystem::is_empty(dir.file("data/backups")));

  // TextExpander's preferences stay out unless asked for.
  EXPECT_NE(cli(dir, {"--config-dir", dir.file("data"), "prefs", "get", "delim_chars"}).out, " ;\n");
  ASSERT_EQ(cli(dir, {"--config-dir", dir.file("data"), "import", "--mode", "replace", "--te-prefs",
                      dir.file("Settings.textexpander")}).status, 0);
  EXPECT_EQ(cli(dir, {"--config-dir", dir.file("data"), "prefs", "get", "delim_chars"}).out, " ;\n");
  EXPECT_EQ(cli(dir, {"--config-dir", dir.file("data"), "prefs", "get", "default_trigger_mode"}).out,
            "4\n");

  // A second import appended: a second folder whose snippet has a fresh uuid.
  CliRun again = cli(dir, {"--config-dir", dir.file("data"), "import", "--mode", "append",
                           dir.file("Settings.textexpander")});
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(library_listing(dir),
            "Mail\t0\tsig\tRegards %key:return%%key:tab%\tRegards %key:return%%key:tab%\n"
            "Mail\t0\tsig\tRegards %key:return%%key:tab%\tRegards %key:return%%key:tab%\n");
}

TEST(ImportCommand, OwnFilesAskTheModeOnlyForAWholeLibrary) {
  TempDir dir;
  write_file(dir.file("lib.tlv"), kOwnLibrary);
  ASSERT_EQ(cli(dir, {"import", "--mode", "replace", dir.file("lib.tlv")}).status, 0);
  ASSERT_EQ(cli(dir, {"import", "--mode", "append", dir.file("lib.tlv")}).status, 0);
  // Appended, a whole library is one more folder under the top, holding its folders.
  CliRun listed = cli(dir, {"library", "list", dir.file("abbreviations.tlv")});
  EXPECT_EQ(listed.out,
            "Work\t0\tbtw\t\tby the way %(Key Enter)%(Key Escape)\n"
            "All Abbreviations / Folders\\\\Work\t0\tbtw\t\tby the way %(Key Enter)%(Key Escape)\n")
      << listed.err;

  // One folder's file is appended without asking, under the file's name when it has none.
  write_file(dir.file("Letters.tlv"),
             "<Tolvan n=\"\" t=\"0\" d=\"0\"><a a=\"hi\" d=\"Hi\" e=\"Hello\" c=\"2\" t=\"3\" "
             "r=\"0\" x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/></Tolvan>");
  CliRun folder = cli(dir, {"import", dir.file("Letters.tlv")});
  EXPECT_EQ(folder.status, 0) << folder.err;
  EXPECT_NE(cli(dir, {"library", "list", dir.file("abbreviations.tlv")}).out.find("Letters\t0\thi\tHi\tHello\n"),
            std::string::npos);
}

TEST(ImportCommand, FailuresLeaveTheLibraryAlone) {
  TempDir dir;
  write_file(dir.file("lib.tlv"), kOwnLibrary);
  ASSERT_EQ(cli(dir, {"import", "--mode", "replace", dir.file("lib.tlv")}).status, 0);
  const std::string before = read_file(dir.file("abbreviations.tlv"));

  CliRun missing = cli(dir, {"import", dir.file("none.textexpander")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "Unable to open TextExpander snippet file " + dir.file("none.textexpander") +
                             " for reading: No such file or directory\n");
  write_file(dir.file("bad.textexpander"), "<plist>");
  CliRun bad = cli(dir, {"import", dir.file("bad.textexpander")});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err.rfind("Error importing TextExpander snippet file " + dir.file("bad.textexpander") +
                              ": Header validation failed.\n\nNot sure why",
                          0),
            0u)
      << bad.err;
  write_file(dir.file("empty.tedist"), "");
  EXPECT_EQ(cli(dir, {"import", dir.file("empty.tedist")}).err.rfind("No snippets found in", 0), 0u);
  write_file(dir.file("junk.tlv"), "<Tolvan");
  CliRun junk = cli(dir, {"import", dir.file("junk.tlv")});
  EXPECT_EQ(junk.status, 1);
  EXPECT_EQ(junk.err, "Error attempting to load the abbreviations from the selected file.\n");

  EXPECT_EQ(cli(dir, {"import", "--mode", "sometimes", dir.file("lib.tlv")}).status, 2);
  EXPECT_EQ(cli(dir, {"import"}).status, 2);
  EXPECT_EQ(read_file(dir.file("abbreviations.tlv")), before);
}

TEST(ImportExportCommands, RefuseWhileTolvanRunsOnTheDataFolder) {
  TempDir dir;
  write_file(dir.file("lib.tlv"), kOwnLibrary);
  InstanceLock running(dir.path());
  ASSERT_TRUE(*running.acquire());
  for (const auto& args : {std::vector<std::string>{"import", "--mode", "append", dir.file("lib.tlv")},
                           std::vector<std::string>{"export", dir.file("out.tlv")}}) {
    CliRun refused = cli(dir, args);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "tolvan-cli: Tolvan is running on the data folder " + dir.path() +
                               "; quit it first, or make the change in its window.\n");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("abbreviations.tlv")));
  running.release();
  EXPECT_EQ(cli(dir, {"import", "--mode", "append", dir.file("lib.tlv")}).status, 0);
}

TEST(ExportCommand, WritesTolvanHtmlAndTextExpanderFiles) {
  TempDir dir;
  write_file(dir.file("lib.tlv"), kOwnLibrary);
  ASSERT_EQ(cli(dir, {"import", "--mode", "replace", dir.file("lib.tlv")}).status, 0);

  CliRun own = cli(dir, {"export", dir.file("all.tlv")});
  EXPECT_EQ(own.status, 0) << own.err;
  EXPECT_EQ(own.out, "Successfully exported abbreviations to '" + dir.file("all.tlv") + "'.\n");
  EXPECT_EQ(cli(dir, {"library", "check", dir.file("all.tlv")}).out, "folders: 1\nabbreviations: 1\n");

  ASSERT_EQ(cli(dir, {"export", "--html", "--folder", "Work", dir.file("work.html")}).status, 0);
  EXPECT_NE(read_file(dir.file("work.html")).find("btw"), std::string::npos);

  // TextExpander: the macros become TextExpander's codes, adjacent ones too.
  ASSERT_EQ(cli(dir, {"export", "--te", dir.file("Settings.textexpander")}).status, 0);
  const std::string settings = read_file(dir.file("Settings.textexpander"));
  EXPECT_NE(settings.find("<string>by the way %key:return%%key:esc%</string>"), std::string::npos);
  EXPECT_NE(settings.find("<key>groupsTE2</key>"), std::string::npos);
  ASSERT_EQ(cli(dir, {"export", "--te", "--folder", "Work", dir.file("Work.textexpander")}).status, 0);
  const std::string group = read_file(dir.file("Work.textexpander"));
  EXPECT_NE(group.find("<key>groupName</key>\n\t\t<string>Work</string>"), std::string::npos) << group;

  CliRun no_folder = cli(dir, {"export", "--folder", "Play", dir.file("x.tlv")});
  EXPECT_EQ(no_folder.status, 1);
  EXPECT_EQ(no_folder.err, "tolvan-cli: the library has no folder 'Play'.\n");
  EXPECT_EQ(cli(dir, {"export", "--te", "--html", dir.file("x")}).status, 2);
}

TEST(TeModeCommand, SwitchingOnGivesTheLibraryTextExpandersShape) {
  TempDir dir;
  write_file(dir.file("nested.tlv"),
             "<Tolvan n=\"All Abbreviations / Folders\" t=\"0\" d=\"0\" m=\"1\">"
             "<f n=\"Work\" t=\"0\" d=\"0\"><f n=\"Letters\" t=\"0\" d=\"0\">"
             "<a a=\"x\" d=\"\" e=\"y\" c=\"2\" t=\"3\" r=\"0\"/></f></f>"
             "<a a=\"z\" d=\"\" e=\"w\" c=\"2\" t=\"3\" r=\"0\"/></Tolvan>");
  ASSERT_EQ(cli(dir, {"import", "--mode", "replace", dir.file("nested.tlv")}).status, 0);
  EXPECT_EQ(cli(dir, {"te-mode"}).out, "off\n");
  CliRun on = cli(dir, {"te-mode", "on"});
  EXPECT_EQ(on.status, 0) << on.err;
  EXPECT_EQ(on.out, "TextExpander mode is on.\n");
  EXPECT_EQ(cli(dir, {"te-mode"}).out, "on\n");
  EXPECT_EQ(cli(dir, {"library", "list", dir.file("abbreviations.tlv")}).out,
            "Work \\\\ Letters\t0\tx\t\ty\n(Uncategorized)\t0\tz\t\tw\n");
  EXPECT_EQ(cli(dir, {"te-mode", "off"}).status, 0);
  EXPECT_EQ(cli(dir, {"te-mode"}).out, "off\n");
  EXPECT_EQ(cli(dir, {"te-mode", "maybe"}).status, 2);
}

}  // namespace
}  // namespace tolvan
