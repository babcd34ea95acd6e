// tolvan-cli library and backup: the commands on real files in a temporary data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

using testing::cli;
using testing::CliRun;

const char* kLibrary =
    "<Tolvan n=\"All Abbreviations / Folders\" t=\"0\" d=\"0\" m=\"1\">"
    "<f n=\"Work\" t=\"0\" d=\"0\"><f n=\"Letters\" t=\"0\" d=\"0\">"
    "<a a=\"sig|s||x\" d=\"Tab&#9;here\" e=\"Kind regards,&#10;Ann\\Bo\" c=\"2\" t=\"3\" r=\"0\" "
    "x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/></f></f>"
    "<p a=\"term\" d=\"Terminal\" p=\"/usr/bin/xterm\" c=\"1\" t=\"4\" r=\"0\" m=\"\" i=\"\" "
    "s=\"0\" n=\"0\" x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/>"
    "<w a=\"web\" d=\"Web\" c=\"1\" t=\"5\" r=\"0\" u=\"https://example.org\" b=\"\" "
    "x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/>"
    "</Tolvan>";

TEST(LibraryCommand, CheckCountsFoldersAndAbbreviations) {
  TempDir dir;
  write_file(dir.file("lib.tlv"), kLibrary);
  CliRun run = cli(dir, {"library", "check", dir.file("lib.tlv")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "folders: 2\nabbreviations: 3\n");

  write_file(dir.file("cut.tlv"), std::string(kLibrary).substr(0, 150));
  CliRun cut = cli(dir, {"library", "check", dir.file("cut.tlv")});
  EXPECT_EQ(cut.status, 1);
  EXPECT_EQ(cut.out, "");
  EXPECT_EQ(cut.err.rfind("Malformed file at line 1 (byte ", 0), 0u);

  CliRun missing = cli(dir, {"library", "check", dir.file("none.tlv")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "No such file or directory\n");

  EXPECT_EQ(cli(dir, {"library", "check"}).status, 2);
  EXPECT_EQ(cli(dir, {"library", "frobnicate", "x"}).status, 2);
}

TEST(LibraryCommand, ListShowsOneEscapedLinePerAbbreviation) {
  TempDir dir;
  write_file(dir.file("lib.tlv"), kLibrary);
  CliRun run = cli(dir, {"library", "list", dir.file("lib.tlv")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "All Abbreviations / Folders\t1\tterm\tTerminal\t/usr/bin/xterm\n"
            "All Abbreviations / Folders\t2\tweb\tWeb\thttps://example.org\n"
            "Work\\\\Letters\t0\tsig|s||x\tTab\\there\tKind regards,\\nAnn\\\\Bo\n");
}

TEST(LibraryCommand, NormalizeWritesTheFileAsTolvanDoesAndKeepsTheMarker) {
  TempDir dir;
  write_file(dir.file("in.tlv"), std::string("<tolvan N=\"Set\"><A a=\"x\" e=\"1&#13;&#10;2\" "
                                             "x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/>"
                                             "<junk><f n=\"gone\"/></junk></tolvan>"));
  CliRun run = cli(dir, {"library", "normalize", dir.file("in.tlv"), dir.file("out/o.tlv")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(read_file(dir.file("out/o.tlv")),
            "<Tolvan n=\"Set\" t=\"0\" d=\"0\"><a a=\"x\" d=\"\" e=\"1&#10;2\" c=\"2\" t=\"3\" "
            "r=\"0\" x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/></Tolvan>");

  write_file(dir.file("lib.tlv"), kLibrary);
  ASSERT_EQ(cli(dir, {"library", "normalize", dir.file("lib.tlv"), dir.file("n.tlv")}).status, 0);
  EXPECT_NE(read_file(dir.file("n.tlv")).find(" m=\"1\">"), std::string::npos);
  // A file that does not load is not written.
  write_file(dir.file("bad.tlv"), "<Tolvan>");
  EXPECT_EQ(cli(dir, {"library", "normalize", dir.file("bad.tlv"), dir.file("n.tlv")}).status,
            1);
  EXPECT_NE(read_file(dir.file("n.tlv")).find("term"), std::string::npos);
}

TEST(LibraryCommand, HtmlListsTheWholeFile) {
  TempDir dir;
  write_file(dir.file("lib.tlv"), kLibrary);
  ASSERT_EQ(cli(dir, {"library", "html", dir.file("lib.tlv"), dir.file("l.html")}).status, 0);
  std::string html = read_file(dir.file("l.html"));
  EXPECT_EQ(html.rfind("<html><body><table", 0), 0u);
  EXPECT_NE(html.find("<td width=\"40%\">sig|s||x</td><td width=\"60%\">Kind regards,...</td>"),
            std::string::npos);
  EXPECT_LT(html.find(">sig|"), html.find(">term<"));
  EXPECT_NE(html.find("Launch https://example.org"), std::string::npos);
}

TEST(BackupCommand, CreateListAndRestoreTheConfiguredLibrary) {
  TempDir dir;
  const std::string library = dir.file("abbreviations.tlv");
  write_file(library, kLibrary);

  CliRun created = cli(dir, {"backup", "create"});
  ASSERT_EQ(created.status, 0) << created.err;
  std::string backup = created.out.substr(0, created.out.size() - 1);
  EXPECT_EQ(std::filesystem::path(backup).parent_path(), std::filesystem::path(dir.file("backups")));
  EXPECT_EQ(read_file(backup), kLibrary);

  CliRun listed = cli(dir, {"backup", "list"});
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.out.rfind(backup + "\t3\tToday, ", 0), 0u);

  write_file(library, "<Tolvan><a a=\"changed\"/></Tolvan>");
  CliRun restored = cli(dir, {"backup", "restore", backup});
  ASSERT_EQ(restored.status, 0) << restored.err;
  CliRun check = cli(dir, {"library", "check", library});
  EXPECT_EQ(check.out, "folders: 2\nabbreviations: 3\n");
  // The changed library was backed up before it was replaced.
  bool kept_changed = false;
  for (const auto& e : std::filesystem::directory_iterator(dir.file("backups"))) {
    kept_changed |= read_file(e.path().string()) == "<Tolvan><a a=\"changed\"/></Tolvan>";
  }
  EXPECT_TRUE(kept_changed);

  ASSERT_EQ(cli(dir, {"prefs", "set", "auto_backup", "0"}).status, 0);
  CliRun off = cli(dir, {"backup", "create"});
  EXPECT_EQ(off.status, 1);
  EXPECT_NE(off.err.find("automatic backups are switched off"), std::string::npos);

  CliRun bad = cli(dir, {"backup", "restore", dir.file("nothing.tlv")});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err.rfind("Unable to load backup file '" + dir.file("nothing.tlv"), 0), 0u);
  EXPECT_EQ(cli(dir, {"library", "check", library}).out, "folders: 2\nabbreviations: 3\n");
}

}  // namespace
}  // namespace tolvan
