// The Dropbox folder from the client's own files, which are read as hostile input.
#include <gtest/gtest.h>

#include <filesystem>

#include "import/dropbox_folder.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

TEST(DropboxFolder, InfoJsonNamesThePersonalFolderElseTheBusinessOne) {
  EXPECT_EQ(dropbox_folder_from_info_json(
                R"j({"personal": {"path": "/home/ann/Dropbox", "host": 4242, "is_team": false,)j"
                R"j( "subscription_type": "Basic"}})j"),
            "/home/ann/Dropbox");
  EXPECT_EQ(dropbox_folder_from_info_json(
                R"j({"business": {"path": "/home/ann/Dropbox (Firm)", "tags": [1, {"a": null}]},)j"
                R"j( "personal": {"path": "/home/ann/Dropbox (Personal)"}})j"),
            "/home/ann/Dropbox (Personal)");
  EXPECT_EQ(dropbox_folder_from_info_json(R"j({"business": {"path": "/srv/D\u00f6x\/f"}})j"),
            "/srv/D\xc3\xb6x/f");
  EXPECT_EQ(dropbox_folder_from_info_json(R"j( {"personal":{"path":"/a\ud83d\ude00"}} )j"),
            "/a\xf0\x9f\x98\x80");
}

TEST(DropboxFolder, MalformedOrStrangeInfoJsonGivesNoFolder) {
  for (const char* text : {
           "", "{", "[]", "null", R"j({"personal": {"path": "/x"})j", R"j({"personal": {"path": "/x"}} x)j",
           R"j({"personal": {"path": 5}})j", R"j({"personal": {"path": "relative/x"}})j",
           R"j({"personal": {"path": ""}})j", R"j({"personal": {"path": "/a\u0000b"}})j",
           R"j({"personal": {"path": "/a\nb"}})j", R"j({"personal": {"path": "/a\ud800"}})j",
           R"j({"personal": {"path": "/a\q"}})j", "{\"personal\": {\"path\": \"/a\x01\"}}",
           R"j({"personal": ["/x"]})j", R"j({"other": {"path": "/x"}})j",
           R"j({"personal": {"path": "/x",}})j"}) {
    EXPECT_EQ(dropbox_folder_from_info_json(text), std::nullopt) << text;
  }
  // Nesting far deeper than the client writes is refused without exhausting the stack.
  std::string deep = R"j({"personal": )j" + std::string(100000, '[') + std::string(100000, ']') + "}";
  EXPECT_EQ(dropbox_folder_from_info_json(deep), std::nullopt);
}

TEST(DropboxFolder, HostDbsSecondLineIsTheFolderInBase64) {
  EXPECT_EQ(dropbox_folder_from_host_db("6b1c0e9a\nL2hvbWUvYW5uL0Ryb3Bib3g=\n"), "/home/ann/Dropbox");
  EXPECT_EQ(dropbox_folder_from_host_db("6b1c0e9a\r\nL2hvbWUvYW5uL0Ryb3Bib3g\r\n"), "/home/ann/Dropbox");
  for (const char* text : {"", "only one line", "first\n", "first\n!!!!\n", "first\nYWJj\n",
                           "first\nL2EAYg==\n" /* "/a\0b" */, "first\nL2EKYg==\n" /* "/a\nb" */}) {
    EXPECT_EQ(dropbox_folder_from_host_db(text), std::nullopt) << text;
  }
}

TEST(DropboxFolder, TheHomeFoldersFilesAreReadInfoJsonFirst) {
  testing::TempDir home;
  EXPECT_EQ(dropbox_get_folder_path(home.path()), std::nullopt);
  std::filesystem::create_directory(home.file(".dropbox"));
  testing::write_file(home.file(".dropbox/host.db"), "x\nL2hvbWUvYW5uL0Ryb3Bib3g=\n");
  EXPECT_EQ(dropbox_get_folder_path(home.path()), "/home/ann/Dropbox");
  testing::write_file(home.file(".dropbox/info.json"), R"j({"personal": {"path": "/data/Dropbox"}})j");
  EXPECT_EQ(dropbox_get_folder_path(home.path()), "/data/Dropbox");
  // A broken info.json falls back to host.db.
  testing::write_file(home.file(".dropbox/info.json"), "{\"personal\": ");
  EXPECT_EQ(dropbox_get_folder_path(home.path()), "/home/ann/Dropbox");
  EXPECT_EQ(dropbox_get_folder_path(""), std::nullopt);
}

}  // namespace
}  // namespace tolvan
