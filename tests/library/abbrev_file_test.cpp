// The abbreviation file: the writer byte for byte, both loaders, hostile text, damaged and
// missing files, and the protection that keeps a damaged library from being lost.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "library/abbrev_reader.h"
#include "library/abbrev_writer.h"
#include "library/folder_tree.h"
#include "library/html_listing.h"
#include "library/library_aside.h"
#include "library/main_list_file.h"
#include "support/recording_prompts.h"
#include "support/parse_library.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::RecordingPrompts;
using testing::TempDir;
using testing::write_file;
using Box = RecordingPrompts::Box;

const AbbrTime kTime{3, 15, 2012, 14, 5, 9};

Abbreviation& add(Folder& folder, AbbrType type, std::vector<std::string> abbrevs) {
  auto a = abbr_create_new_abbrev(type, &folder, {});
  a->abbreviations = std::move(abbrevs);
  a->created = a->modified = kTime;
  return abbr_add_abbrev_to_folder(folder, std::move(a));
}

// A library with every type and every field set.
FolderList sample_library(UidCounter& uids) {
  FolderList list;
  list.push_back(abbr_create_absolute_parent_folder(uids));
  Folder& top = *list[0];
  top.menu_hotkey_enabled = 1;
  top.menu_hotkey = "17 65";
  Folder& work = abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(uids, &top, "Work"));
  work.disabled = 1;
  work.te_group = 1;

  Abbreviation& text = add(work, ABBR_TYPE_TEXT, {"btw"});
  text.description = "By the way";
  text.expansion() = "by the way";

  Abbreviation& prog = add(top, ABBR_TYPE_PROGRAM, {"run", "r|x"});
  prog.description = "Run";
  prog.program() = {"/bin/x", "-v", "/tmp", 2, 1, nullptr};
  prog.case_mode = CASE_INSENSITIVE;
  prog.trigger_mode = TRIGGER_KEY;
  prog.anywhere = 1;

  Abbreviation& web = add(top, ABBR_TYPE_WEBSITE, {"web"});
  web.website() = {"https://example.org/?a=1&b=2", "firefox"};
  web.case_mode = CASE_SENSITIVE;
  web.trigger_mode = TRIGGER_WORD_ENDING;

  Abbreviation& unsupported = add(top, ABBR_TYPE_UNSUPPORTED, {"js"});
  unsupported.description = "A script";
  unsupported.case_mode = CASE_INSENSITIVE;
  return list;
}

using testing::parse;

TEST(AbbrevFileWriter, WritesTheFormatByteForByte) {
  UidCounter uids;
  FolderList list = sample_library(uids);
  EXPECT_EQ(
      abbr_folder_list_to_xml(list),
      "<Tolvan n=\"All Abbreviations / Folders\" t=\"0\" d=\"0\" e=\"1\"  h=\"17 65\" m=\"1\">"
      "<f n=\"Work\" t=\"1\" d=\"1\">"
      "<a a=\"btw\" d=\"By the way\" e=\"by the way\" c=\"2\" t=\"3\" r=\"0\" "
      "x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/>"
      "</f>"
      "<u a=\"js\" d=\"A script\" c=\"1\" t=\"3\" r=\"0\" x=\"030f07dc0e0509\" "
      "y=\"030f07dc0e0509\"/>"
      "<w a=\"web\" d=\"New Website Launcher\" c=\"0\" t=\"5\" r=\"0\" "
      "u=\"https://example.org/?a=1&amp;b=2\" b=\"firefox\" x=\"030f07dc0e0509\" "
      "y=\"030f07dc0e0509\"/>"
      "<p a=\"run|r||x\" d=\"Run\" p=\"/bin/x\" c=\"1\" t=\"4\" r=\"1\" m=\"-v\" i=\"/tmp\" "
      "s=\"2\" n=\"1\" x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/>"
      "</Tolvan>");
  std::string xml = abbr_folder_list_to_xml(list, false);
  EXPECT_EQ(xml.find("m=\"1\""), std::string::npos);
}

TEST(AbbrevFileWriter, EscapesInTableOrder) {
  EXPECT_EQ(abbr_htmlize("a&b<c>d\r\ne\nf\rg\th\"i\x1bj'k é"),
            "a&amp;b&lt;c&gt;d&#10;e&#10;f&#10;g&#9;h&quot;i&#33;j'k é");
  EXPECT_EQ(abbr_htmlize("&amp;"), "&amp;amp;");
  EXPECT_EQ(abbr_htmlize("\r\r\n\n"), "&#10;&#10;&#10;");
}

TEST(AbbrevFile, AllFourTypesSurviveASaveAndALoad) {
  UidCounter uids;
  FolderList list = sample_library(uids);
  std::string first = abbr_folder_list_to_xml(list);
  UidCounter fresh;
  ParsedLibrary back = parse(first, fresh);
  ASSERT_FALSE(back.error);
  EXPECT_TRUE(back.marker);
  ASSERT_EQ(back.top.size(), 1u);
  // The loader puts each abbreviation first, so a second save writes them reversed; a
  // third save is the same as the first.
  FolderList again;
  again.push_back(std::move(back.top[0]));
  ParsedLibrary third = parse(abbr_folder_list_to_xml(again), fresh);
  FolderList third_list;
  third_list.push_back(std::move(third.top[0]));
  EXPECT_EQ(abbr_folder_list_to_xml(third_list), first);

  Folder& top = *third_list[0];
  EXPECT_EQ(top.menu_hotkey, "17 65");
  EXPECT_EQ(top.menu_hotkey_enabled, 1);
  const Abbreviation& prog = *top.abbreviations.back();
  ASSERT_EQ(prog.type(), ABBR_TYPE_PROGRAM);
  EXPECT_EQ(prog.abbreviations, (std::vector<std::string>{"run", "r|x"}));
  EXPECT_EQ(prog.program().location, "/bin/x");
  EXPECT_EQ(prog.program().parameters, "-v");
  EXPECT_EQ(prog.program().run_in, "/tmp");
  EXPECT_EQ(prog.program().show_mode, 2);
  EXPECT_EQ(prog.program().run_as_admin, 1);
  EXPECT_EQ(prog.anywhere, 1);
  EXPECT_EQ(prog.created, kTime);
  EXPECT_EQ(top.subfolders[0]->disabled, 1);
  EXPECT_EQ(top.subfolders[0]->te_group, 1);
}

TEST(AbbrevFile, HostileTextComesBackAsTheFormatPromises) {
  const std::string hostile =
      "a&b <c> \"q\" 'apos' \ttab\r\nCRLF\rCR\nLF \x1b esc \x01\x02\x0b\x0c ctl "
      "\xff\xfe bad \xc3\x28 é ü 日本 😀 &amp; &#10; ]]> <!-- -->";
  const std::string expected =
      "a&b <c> \"q\" 'apos' \ttab\nCRLF\nCR\nLF ! esc  ctl "
      "\xEF\xBF\xBD\xEF\xBF\xBD bad \xEF\xBF\xBD( é ü 日本 😀 &amp; &#10; ]]> <!-- -->";
  UidCounter uids;
  FolderList list;
  list.push_back(abbr_create_absolute_parent_folder(uids));
  Folder& top = *list[0];
  Folder& folder = abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(uids, &top, hostile));
  Abbreviation& text = add(folder, ABBR_TYPE_TEXT, {hostile, "x|" + hostile});
  text.description = hostile;
  text.expansion() = hostile + std::string(200000, 'L');
  Abbreviation& prog = add(folder, ABBR_TYPE_PROGRAM, {"p"});
  prog.program().location = prog.program().parameters = prog.program().run_in = hostile;
  Abbreviation& web = add(folder, ABBR_TYPE_WEBSITE, {"w"});
  web.website().address = web.website().browser = hostile;

  UidCounter fresh;
  ParsedLibrary back = parse(abbr_folder_list_to_xml(list), fresh);
  ASSERT_FALSE(back.error) << back.error->message;
  Folder& f = *back.top[0]->subfolders[0];
  EXPECT_EQ(f.name, expected);
  ASSERT_EQ(f.abbreviations.size(), 3u);
  const Abbreviation& t = *f.abbreviations[0];
  EXPECT_EQ(t.description, expected);
  EXPECT_EQ(t.abbreviations, (std::vector<std::string>{expected, "x|" + expected}));
  EXPECT_EQ(t.expansion(), expected + std::string(200000, 'L'));
  const Abbreviation& p = *f.abbreviations[1];
  EXPECT_EQ(p.program().location, expected);
  EXPECT_EQ(p.program().parameters, expected);
  EXPECT_EQ(p.program().run_in, expected);
  const Abbreviation& w = *f.abbreviations[2];
  EXPECT_EQ(w.website().address, expected);
  EXPECT_EQ(w.website().browser, expected);

  // What came back is stable: writing and reading it again changes nothing.
  std::string second = abbr_folder_list_to_xml(back.top);
  UidCounter again;
  ParsedLibrary third = parse(second, again);
  EXPECT_EQ(abbr_folder_list_to_xml(third.top).size(), second.size());
}

TEST(AbbrevFileReader, SkipsUnknownElementsWithEverythingInside) {
  UidCounter uids;
  ParsedLibrary back = parse(
      "<TOLVAN n=\"Mine\" M=\"1\">text is ignored"
      "<F N=\"Kept\"><A A=\"k\" E=\"kept\"/></F>"
      "<extra><f n=\"Hidden\"><a a=\"h\" e=\"hidden\"/></f><a a=\"h2\"/></extra>"
      "<Tolvan n=\"second root\"><f n=\"Also hidden\"/></Tolvan>"
      "<textexpanderUnknown/>"
      "</TOLVAN>",
      uids);
  ASSERT_FALSE(back.error);
  EXPECT_TRUE(back.marker);
  Folder& root = *back.top[0];
  EXPECT_EQ(root.name, "Mine");
  ASSERT_EQ(root.subfolders.size(), 1u);
  EXPECT_EQ(root.subfolders[0]->name, "Kept");
  ASSERT_EQ(root.subfolders[0]->abbreviations.size(), 1u);
  EXPECT_EQ(root.subfolders[0]->abbreviations[0]->expansion(), "kept");
  EXPECT_TRUE(root.abbreviations.empty());
  EXPECT_EQ(uids.peek(), 2u);  // only the folders that were kept took uids
}

TEST(AbbrevFileReader, MissingAndOutOfRangeValuesGetTheirDefaults) {
  UidCounter uids;
  ParsedLibrary back = parse(
      "<Tolvan>"
      "<a/>"
      "<a a=\"x\" c=\"7\" t=\"1\" x=\"0102\" y=\"zz0f07dc0e0509\"/>"
      "<p a=\"p\" c=\"2\" s=\"9\" e=\"not read\"/>"
      "<w a=\"w\" e=\"not read\" p=\"not read\"/>"
      "<a e=\"a\" u=\"not read\" n=\"not read\"/>"
      "</Tolvan>",
      uids);
  ASSERT_FALSE(back.error);
  auto& abbrevs = back.top[0]->abbreviations;  // in reverse document order
  ASSERT_EQ(abbrevs.size(), 5u);
  const Abbreviation& bare = *abbrevs[4];
  EXPECT_TRUE(bare.abbreviations.empty());
  EXPECT_EQ(bare.description, "");
  EXPECT_EQ(bare.expansion(), "");
  EXPECT_EQ(bare.case_mode, CASE_ADAPT);
  EXPECT_EQ(bare.trigger_mode, TRIGGER_IMMEDIATELY);
  EXPECT_EQ(bare.anywhere, 0);
  EXPECT_EQ(bare.created, (AbbrTime{1, 2, 2003, 4, 5, 6}));
  EXPECT_EQ(bare.modified, (AbbrTime{1, 2, 2003, 4, 5, 6}));

  const Abbreviation& bad = *abbrevs[3];
  EXPECT_EQ(bad.case_mode, CASE_ADAPT);  // the default case mode
  EXPECT_EQ(bad.trigger_mode, TRIGGER_IMMEDIATELY);
  EXPECT_NE(bad.created, (AbbrTime{1, 2, 2003, 4, 5, 6}));  // wrong length: now
  EXPECT_EQ(bad.created.year, abbr_time_now().year);
  EXPECT_EQ(bad.modified.day, 15);  // read as hexadecimal without checks
  EXPECT_EQ(bad.modified.year, 2012);

  const Abbreviation& prog = *abbrevs[2];
  EXPECT_EQ(prog.case_mode, CASE_INSENSITIVE);
  EXPECT_EQ(prog.program().show_mode, 0);
  const Abbreviation& web = *abbrevs[1];
  EXPECT_EQ(web.case_mode, CASE_INSENSITIVE);
  EXPECT_EQ(web.website().address, "");
  EXPECT_EQ(abbrevs[0]->expansion(), "a");
}

TEST(AbbrevFileReader, ReportsWhereTheTextBreaks) {
  UidCounter uids;
  ParsedLibrary back = parse("<Tolvan><f n=\"A\"><a a=\"x\"/></f>\n<f n=\"B\"><a a=", uids);
  ASSERT_TRUE(back.error);
  EXPECT_EQ(back.error->line, 2u);
  EXPECT_FALSE(back.error->message.empty());
  // What was read before the error is kept.
  ASSERT_EQ(back.top.size(), 1u);
  ASSERT_EQ(back.top[0]->subfolders.size(), 2u);
  EXPECT_EQ(back.top[0]->subfolders[0]->abbreviations.size(), 1u);
}

TEST(AbbrevFileReader, PreparationRemovesWhatXmlCannotCarry) {
  EXPECT_EQ(abbr_prepare_text_for_parser("a\x1b" "b"), "a&#33;b");
  EXPECT_EQ(abbr_prepare_text_for_parser(std::string("a\0b\x01\x7f\t\n\r", 8)),
            "ab\x7f\t\n\r");
  EXPECT_EQ(abbr_prepare_text_for_parser("\xef\xbf\xbe\xef\xbf\xbf"), "");  // U+FFFE, U+FFFF
  EXPECT_EQ(abbr_prepare_text_for_parser("\xed\xa0\x80"),  // an encoded surrogate
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(abbr_prepare_text_for_parser("\xc0\xaf"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // overlong
  EXPECT_EQ(abbr_prepare_text_for_parser("日本😀"), "日本😀");
}

class MainListFile : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.file("abbreviations.tlv");
  Library lib;
  RecordingPrompts prompts;

  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(MainListFile, LoadsTheFileWithStableUids) {
  UidCounter uids;
  ASSERT_TRUE(abbr_write_folder_list_file(sample_library(uids), path));
  EXPECT_EQ(abbr_load_main_list_from_file(lib, path, prompts), LoadOutcome::Loaded);
  EXPECT_TRUE(prompts.shown.empty());
  ASSERT_EQ(lib.main_list.size(), 1u);
  EXPECT_EQ(lib.main_list[0]->uid, 0u);
  EXPECT_EQ(lib.main_list[0]->subfolders[0]->uid, 1u);
  EXPECT_EQ(lib.main_list[0]->name, "All Abbreviations / Folders");

  Library other;
  ASSERT_EQ(abbr_load_main_list_from_file(other, path, prompts), LoadOutcome::Loaded);
  EXPECT_EQ(other.main_list[0]->subfolders[0]->uid, 1u);
}

TEST_F(MainListFile, RootAttributesAreNotUsedAndTopLevelFoldersJoinTheList) {
  write_file(path, "<Tolvan n=\"Renamed\" d=\"1\"/>");
  ASSERT_EQ(abbr_load_main_list_from_file(lib, path, prompts), LoadOutcome::Loaded);
  EXPECT_EQ(lib.main_list[0]->name, "All Abbreviations / Folders");
  EXPECT_EQ(lib.main_list[0]->disabled, 0);
}

TEST_F(MainListFile, AFolderAsRootElementEndsUpInsideTheAbsoluteParent) {
  write_file(path, "<f n=\"Loose\"><a a=\"x\"/><Tolvan n=\"inner\"/></f>");
  ASSERT_EQ(abbr_load_main_list_from_file(lib, path, prompts), LoadOutcome::Loaded);
  ASSERT_EQ(lib.main_list.size(), 1u);
  EXPECT_EQ(lib.main_list[0]->name, "All Abbreviations / Folders");
  ASSERT_EQ(lib.main_list[0]->subfolders.size(), 1u);
  EXPECT_EQ(lib.main_list[0]->subfolders[0]->name, "Loose");
  EXPECT_TRUE(lib.main_list[0]->subfolders[0]->subfolders.empty());
  EXPECT_EQ(lib.main_list[0]->subfolders[0]->abbreviations.size(), 1u);
}

TEST_F(MainListFile, AbbreviationsWithoutTimesTakeTheFilesTime) {
  write_file(path, "<Tolvan><a a=\"x\"/></Tolvan>");
  struct timespec times[2] = {{1331820309, 0}, {1331820309, 0}};  // 2012-03-15 14:05:09 UTC
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  ASSERT_EQ(abbr_load_main_list_from_file(lib, path, prompts), LoadOutcome::Loaded);
  EXPECT_EQ(lib.main_list[0]->abbreviations[0]->created, abbr_time_from_unix(1331820309));

  UidCounter uids;
  auto imported = abbr_load_abbreviations_from_file(path, uids, false);
  ASSERT_TRUE(imported);
  EXPECT_EQ(imported->root->abbreviations[0]->created, abbr_time_from_unix(1331820309));
  auto now = abbr_load_abbreviations_from_file(path, uids, true);
  EXPECT_NE(now->root->abbreviations[0]->created, abbr_time_from_unix(1331820309));
}

TEST_F(MainListFile, AnEmptyFileIsAnEmptyLibraryWithoutAMessage) {
  write_file(path, "");
  EXPECT_EQ(abbr_load_main_list_from_file(lib, path, prompts), LoadOutcome::Empty);
  EXPECT_TRUE(prompts.shown.empty());
  ASSERT_EQ(lib.main_list.size(), 1u);
  EXPECT_EQ(lib.main_list[0]->uid, 0u);
  EXPECT_EQ(abbr_load_main_list_from_file(lib, "", prompts), LoadOutcome::Empty);
  EXPECT_FALSE(lib.damaged_file);
}

TEST_F(MainListFile, AMissingFilePointsToBackupsOnlyWhenThereAreSome) {
  EXPECT_EQ(abbr_load_main_list_from_file(lib, path, prompts, {false, {}}), LoadOutcome::Missing);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(lib.main_list.size(), 1u);

  EXPECT_EQ(abbr_load_main_list_from_file(lib, path, prompts, {true, {}}), LoadOutcome::Missing);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].box, Box::Info);
  EXPECT_EQ(prompts.shown[0].text.rfind("Unable to load abbreviation file '" + path +
                                            "': file doesn't exist.\n\n",
                                        0),
            0u);
  EXPECT_NE(prompts.shown[0].text.find("restore the latest backup"), std::string::npos);
  EXPECT_FALSE(lib.damaged_file);
}

TEST_F(MainListFile, AnUnreadableFileAsksToRetryAndIsThenProtected) {
  if (geteuid() == 0) GTEST_SKIP() << "root can open any file";
  write_file(path, "<Tolvan><a a=\"mine\"/></Tolvan>");
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  prompts.answers = {Answer::Yes, Answer::No};
  EXPECT_EQ(abbr_load_main_list_from_file(lib, path, prompts), LoadOutcome::Unopenable);
  EXPECT_EQ(prompts.count(Box::YesNo), 2u);
  EXPECT_EQ(prompts.shown[0].text.rfind("Unable to open abbreviation file '" + path +
                                            "' for reading: ",
                                        0),
            0u);
  ASSERT_TRUE(lib.damaged_file);
  // Saving the empty library keeps the unreadable file under its new name first.
  std::string aside = lib.damaged_file->aside_path;
  ASSERT_TRUE(abbr_dump_main_folder_list_to_file(lib, path));
  ASSERT_EQ(chmod(aside.c_str(), 0644), 0);
  EXPECT_EQ(read_file(aside), "<Tolvan><a a=\"mine\"/></Tolvan>");
  EXPECT_EQ(files().size(), 2u);
}

TEST_F(MainListFile, ACutFileKeepsWhatWasReadAndIsKeptAsideBeforeTheNextSave) {
  UidCounter uids;
  std::string whole = abbr_folder_list_to_xml(sample_library(uids));
  std::string cut = whole.substr(0, whole.find("<u "));
  write_file(path, cut);

  EXPECT_EQ(abbr_load_main_list_from_file(lib, path, prompts), LoadOutcome::Damaged);
  ASSERT_EQ(prompts.count(Box::Error), 1u);
  const std::string& message = prompts.shown[0].text;
  EXPECT_EQ(message.rfind("Error loading abbreviations from file '" + path + "': ", 0), 0u);
  EXPECT_NE(message.find(" at 1 (byte "), std::string::npos);
  ASSERT_TRUE(lib.damaged_file);
  EXPECT_NE(message.find(lib.damaged_file->aside_path), std::string::npos);
  ASSERT_EQ(lib.main_list[0]->subfolders.size(), 1u);  // the part before the cut
  EXPECT_EQ(read_file(path), cut);                       // loading changed nothing

  std::string aside = lib.damaged_file->aside_path;
  EXPECT_EQ(aside.rfind(dir.file("abbreviations_damaged_"), 0), 0u);
  ASSERT_TRUE(abbr_dump_main_folder_list_to_file(lib, path));
  EXPECT_EQ(read_file(aside), cut);  // the damaged file, byte for byte
  EXPECT_FALSE(lib.damaged_file);

  // The new file loads cleanly; saving again keeps no further copies.
  EXPECT_EQ(abbr_load_main_list_from_file(lib, path, prompts), LoadOutcome::Loaded);
  ASSERT_TRUE(abbr_dump_main_folder_list_to_file(lib, path));
  EXPECT_EQ(files().size(), 2u);
}

TEST_F(MainListFile, NoSequenceOfLoadsAndSavesLosesTheUsersFile) {
  const std::string original = "<Tolvan><f n=\"Mine\"><a a=\"keep\" e=\"me\"/></f><f n=";
  write_file(path, original);
  for (int round = 0; round < 3; ++round) {
    Library fresh;
    abbr_load_main_list_from_file(fresh, path, prompts);
    abbr_create_sandbox(fresh);
    ASSERT_TRUE(abbr_dump_main_folder_list_to_file(fresh, path));
    ASSERT_TRUE(abbr_dump_sandbox_folder_list_to_file(fresh, path));
  }
  // The original bytes are still there, once, next to the library that was read from them.
  int copies = 0;
  for (const auto& name : files()) {
    if (name != "abbreviations.tlv" && read_file(dir.file(name)) == original) ++copies;
  }
  EXPECT_EQ(copies, 1);
  Library last;
  ASSERT_EQ(abbr_load_main_list_from_file(last, path, prompts), LoadOutcome::Loaded);
  EXPECT_EQ(last.main_list[0]->subfolders[0]->abbreviations[0]->expansion(), "me");
}

TEST_F(MainListFile, ASaveThatCannotProtectTheDamagedFileWritesNothing) {
  write_file(path, "<Tolvan><a a=\"x\"/>");
  ASSERT_EQ(abbr_load_main_list_from_file(lib, path, prompts), LoadOutcome::Damaged);
  // A folder sits under the aside name, so the file cannot be kept there.
  std::filesystem::create_directory(lib.damaged_file->aside_path);
  Status saved = abbr_save_library(lib, path, &prompts);
  EXPECT_FALSE(saved);
  EXPECT_NE(saved.error().find("Unable to keep a copy of the damaged abbreviation file"),
            std::string::npos);
  EXPECT_EQ(read_file(path), "<Tolvan><a a=\"x\"/>");
  ASSERT_EQ(prompts.count(Box::Error), 2u);
  EXPECT_EQ(prompts.shown.back().text.rfind("Unable to save abbreviations to file '" + path, 0),
            0u);
}

TEST_F(MainListFile, AListWithoutFoldersIsNeverWritten) {
  write_file(path, "<Tolvan><a a=\"x\"/></Tolvan>");
  EXPECT_EQ(abbr_dump_sandbox_folder_list_to_file(lib, path).error(), "Folder is blank.");
  EXPECT_EQ(read_file(path), "<Tolvan><a a=\"x\"/></Tolvan>");
}

TEST_F(MainListFile, SavingIntoADeletedFolderRecreatesIt) {
  std::string nested = dir.file("gone/deeper/abbreviations.tlv");
  abbr_ensure_absolute_parent(lib.main_list, lib.uids);
  ASSERT_TRUE(abbr_dump_main_folder_list_to_file(lib, nested));
  EXPECT_EQ(read_file(nested),
            "<Tolvan n=\"All Abbreviations / Folders\" t=\"0\" d=\"0\" m=\"1\"></Tolvan>");
}

TEST_F(MainListFile, ImportModeReportsErrorsInItsOwnWords) {
  UidCounter uids;
  EXPECT_EQ(abbr_load_abbreviations_from_file("", uids, false).error(), "Filename is blank.");
  EXPECT_FALSE(abbr_load_abbreviations_from_file(path, uids, false));  // missing
  write_file(path, "<Tolvan><f n=\"x\">\n<a");
  auto broken = abbr_load_abbreviations_from_file(path, uids, false);
  ASSERT_FALSE(broken);
  EXPECT_EQ(broken.error().rfind("Malformed file at line 2 (byte ", 0), 0u);
  write_file(path, "<Tolvan n=\"Set\"><a a=\"s\"/></Tolvan>");
  auto set = abbr_load_abbreviations_from_file(path, uids, false);
  ASSERT_TRUE(set);
  EXPECT_FALSE(set->marker);
  EXPECT_EQ(set->root->name, "Set");
}

TEST_F(MainListFile, MovingTheLibraryAsideNeverReplacesAFile) {
  write_file(path, "library");
  std::tm when{};
  when.tm_year = 112, when.tm_mon = 2, when.tm_mday = 15;
  when.tm_hour = 14, when.tm_min = 5, when.tm_sec = 9;
  write_file(dir.file("abbreviations_backup0Mar15_2012_14_05_09.tlv"), "older");
  ASSERT_TRUE(abbr_backup_abbrev_file_in_dir(dir.path(), &when));
  EXPECT_EQ(read_file(dir.file("abbreviations_backup1Mar15_2012_14_05_09.tlv")), "library");
  EXPECT_EQ(read_file(dir.file("abbreviations_backup0Mar15_2012_14_05_09.tlv")), "older");
  EXPECT_FALSE(std::filesystem::exists(path));

  write_file(path, "again");
  for (int n = 0; n < 2500; ++n) {
    std::string name = dir.file("abbreviations_backup" + std::to_string(n) +
                                "Mar15_2012_14_05_09.tlv");
    if (!std::filesystem::exists(name)) write_file(name, "");
  }
  EXPECT_FALSE(abbr_backup_abbrev_file_in_dir(dir.path(), &when));
  EXPECT_EQ(read_file(path), "again");
}

TEST(HtmlListing, SortsEscapesAndCutsLongPreviews) {
  UidCounter uids;
  auto top = abbr_create_absolute_parent_folder(uids);
  Folder& sub = abbr_add_subfolder_to_folder(*top, abbr_new_subfolder_of(uids, top.get(), "S"));
  add(*top, ABBR_TYPE_TEXT, {"zz"}).expansion() = "<b>&";
  add(*top, ABBR_TYPE_TEXT, {"none"});  // no preview: left out
  add(sub, ABBR_TYPE_TEXT, {"aa"}).expansion() = std::string(81, 'x');
  std::string head =
      "<html><body><table cellspacing=\"5\" cellpadding=\"5\"><tr><td><big><b>Abbreviation"
      "</b></big></td><td><big><b>Replacement Preview</b></big></td></tr>";
  EXPECT_EQ(abbr_folder_as_HTML(*top, true),
            head + "<tr><td width=\"40%\">aa</td><td width=\"60%\">" + std::string(77, 'x') +
                "...</td></tr><tr><td width=\"40%\">zz</td><td width=\"60%\">&lt;b&gt;&amp;"
                "</td></tr></body></html>");
  EXPECT_EQ(abbr_folder_as_HTML(*top, false).find("aa"), std::string::npos);
}

}  // namespace
}  // namespace tolvan
