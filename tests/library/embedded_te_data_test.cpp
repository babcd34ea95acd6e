// TextExpander data stored inside the abbreviation file: written on folders and
// abbreviations, read back into the same slots, misplaced data skipped, broken data reported,
// and every real TextExpander file carried through an abbreviation file unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "library/abbrev_reader.h"
#include "library/abbrev_writer.h"
#include "library/folder_tree.h"
#include "library/main_list_file.h"
#include "support/recording_prompts.h"
#include "support/parse_library.h"
#include "support/temp_dir.h"
#include "textexpander/plist_reader.h"
#include "textexpander/plist_values.h"

namespace tolvan {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::write_file;

using testing::parse;

// A list that holds every kind of value, with text that XML and line-end handling like to
// change: CR, CR LF, LF, tab, markup characters, references and non-ASCII.
KvList hostile_list(std::string_view tag) {
  KvList inner;
  kvlist_append(inner, "nested <key> & \"quoted\"", KvValue::of_string("a\rb\r\nc\nd\te"));
  kvlist_append(inner, "count", KvValue::of_integer(-42));
  KvList values;
  kvlist_append(values, "", KvValue::of_string("&amp; stays &amp;"), true);
  kvlist_append(values, "", KvValue::of_bool(true), true);
  KvList row;
  kvlist_append(row, "snippet", KvValue::of_string(std::string("été ") + std::string(tag)));
  KvList list;
  kvlist_append(list, "plainText", KvValue::of_string("Dear\r\n  Sir,\r\rbye < > ' \""));
  kvlist_append(list, "modified", KvValue::of_date({3, 15, 2012, 14, 5, 9}));
  kvlist_append(list, "flag", KvValue::of_bool(false));
  kvlist_append(list, "ratio", KvValue::of_real("0.5"));
  kvlist_append(list, "blob", KvValue::of_data("AAEC/w=="));
  kvlist_append(list, "inner", KvValue::of_dict(std::move(inner)));
  kvlist_append(list, "values", KvValue::of_values(std::move(values)));
  kvlist_append(list, "rows", KvValue::of_dicts({row, row}));
  kvlist_append(list, "none", KvValue::empty_array());
  return list;
}

FolderList library_with_te_data(UidCounter& uids) {
  FolderList list;
  list.push_back(abbr_create_absolute_parent_folder(uids));
  Folder& top = *list[0];
  top.te_general = hostile_list("top");
  Folder& group = abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(uids, &top, "Group"));
  group.te_general = hostile_list("general");
  group.te_group_settings = hostile_list("settings");
  group.te_folder_specific = hostile_list("folder");
  auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &group, {});
  a->abbreviations = {"sig"};
  a->expansion() = "signature";
  a->te_general = hostile_list("snippet");
  a->te_abbrev_specific = hostile_list("specific");
  abbr_add_abbrev_to_folder(group, std::move(a));
  auto plain = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &group, {});
  plain->abbreviations = {"plain"};
  plain->te_general = KvList{};  // an empty dictionary is no data
  abbr_add_abbrev_to_folder(group, std::move(plain));
  return list;
}

TEST(EmbeddedTeData, EverySlotOfFoldersAndAbbreviationsComesBackUnchanged) {
  UidCounter uids;
  FolderList list = library_with_te_data(uids);
  std::string xml = abbr_folder_list_to_xml(list);
  // An abbreviation with data closes with an end tag; one without stays self-closed.
  EXPECT_NE(xml.find("</textexpanderTS></a>"), std::string::npos);
  EXPECT_NE(xml.find("<a a=\"plain\""), std::string::npos);
  EXPECT_EQ(xml.find("<textexpander><dict></dict>"), std::string::npos);
  EXPECT_EQ(xml.find('\r'), std::string::npos);

  ParsedLibrary parsed = parse(xml, uids);
  ASSERT_FALSE(parsed.error) << parsed.error->message;
  EXPECT_EQ(parsed.te_errors, "");
  ASSERT_EQ(parsed.top.size(), 1u);
  const Folder& top = *parsed.top[0];
  ASSERT_EQ(top.subfolders.size(), 1u);
  const Folder& group = *top.subfolders[0];
  EXPECT_TRUE(top.te_general == list[0]->te_general);
  const Folder& original = *list[0]->subfolders[0];
  EXPECT_TRUE(group.te_general == original.te_general);
  EXPECT_TRUE(group.te_group_settings == original.te_group_settings);
  EXPECT_TRUE(group.te_folder_specific == original.te_folder_specific);
  ASSERT_EQ(group.abbreviations.size(), 2u);
  // The loader puts each abbreviation first, so the order comes back reversed.
  for (std::size_t i = 0; i < 2; ++i) {
    const Abbreviation& read = *group.abbreviations[i];
    const Abbreviation& written = *original.abbreviations[1 - i];
    EXPECT_EQ(read.abbreviations, written.abbreviations);
    EXPECT_EQ(te_data_present(read.te_general), te_data_present(written.te_general));
    if (te_data_present(written.te_general)) {
      EXPECT_TRUE(read.te_general == written.te_general);
      EXPECT_TRUE(read.te_abbrev_specific == written.te_abbrev_specific);
    }
  }
  // Saving what was read twice (undoing the reversal) gives the same bytes.
  ParsedLibrary third = parse(abbr_folder_list_to_xml(parsed.top), uids);
  EXPECT_EQ(abbr_folder_list_to_xml(third.top), xml);
}

TEST(EmbeddedTeData, DataWithoutASlotWhereItStandsIsSkipped) {
  UidCounter uids;
  const std::string dict = "<dict><key>k</key><string>v</string></dict>";
  ParsedLibrary parsed = parse(
      "<Tolvan><f n=\"x\">"
      "<a a=\"one\"><textexpanderSG>" + dict + "</textexpanderSG>"
      "<textexpanderFTS>" + dict + "</textexpanderFTS>"
      "<TextExpander>" + dict + "</TextExpander></a>"
      "<other><textexpander>" + dict + "</textexpander><f n=\"hidden\"/></other>"
      "<textexpanderTS>" + dict + "</textexpanderTS>"
      "</f></Tolvan>",
      uids);
  ASSERT_FALSE(parsed.error);
  EXPECT_EQ(parsed.te_errors, "");
  const Folder& folder = *parsed.top[0]->subfolders[0];
  EXPECT_EQ(folder.subfolders.size(), 0u);  // the unknown element hid its folder
  EXPECT_FALSE(folder.te_general.has_value());
  EXPECT_FALSE(folder.te_group_settings.has_value());
  EXPECT_FALSE(folder.te_folder_specific.has_value());
  ASSERT_EQ(folder.abbreviations.size(), 1u);
  const Abbreviation& a = *folder.abbreviations[0];
  ASSERT_TRUE(a.te_general.has_value());  // element names compare without case
  EXPECT_EQ(*kvlist_lookup_value(*a.te_general, "k")->text(), "v");
  EXPECT_FALSE(a.te_abbrev_specific.has_value());
}

TEST(EmbeddedTeData, MarkupInsideTheDataIsRebuiltForThePropertyListReader) {
  UidCounter uids;
  // References and nested elements survive the rebuild; a value the XML parser unescaped
  // ("a < b") is escaped again before the property-list reader sees it.
  ParsedLibrary parsed = parse(
      "<Tolvan><a a=\"x\"><textexpander><dict>"
      "<key>text</key><string>a &lt; b &amp;amp; c</string>"
      "<key>d</key><dict><key>n</key><integer>7</integer></dict>"
      "</dict></textexpander></a></Tolvan>",
      uids);
  ASSERT_FALSE(parsed.error);
  EXPECT_EQ(parsed.te_errors, "");
  const Abbreviation& a = *parsed.top[0]->abbreviations[0];
  ASSERT_TRUE(a.te_general.has_value());
  EXPECT_EQ(*kvlist_lookup_value(*a.te_general, "text")->text(), "a < b &amp; c");
  const KvValue* d = kvlist_lookup_value(*a.te_general, "d");
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->type(), KV_DICT);
  EXPECT_EQ(*kvlist_lookup_value(*d->list(), "n")->integer(), 7);
}

const std::string kBrokenData =
    "<Tolvan><f n=\"x\"><a a=\"keep\" e=\"kept\"><textexpander><array/></textexpander></a>"
    "<a a=\"two\"><textexpanderTS><dict><key>k</key><wrong/></dict></textexpanderTS></a>"
    "</f></Tolvan>";

TEST(EmbeddedTeData, BrokenDataIsReportedAndTheAbbreviationsStay) {
  UidCounter uids;
  ParsedLibrary parsed = parse(kBrokenData, uids);
  ASSERT_FALSE(parsed.error);
  ASSERT_EQ(parsed.top[0]->subfolders[0]->abbreviations.size(), 2u);
  // Two errors, each followed by a blank line.
  ASSERT_TRUE(parsed.te_errors.ends_with("\n\n"));
  std::string first = parsed.te_errors.substr(0, parsed.te_errors.find("\n\n"));
  EXPECT_FALSE(first.empty());
  EXPECT_GT(parsed.te_errors.size(), first.size() + 4);
  for (const auto& a : parsed.top[0]->subfolders[0]->abbreviations) {
    EXPECT_FALSE(a->te_general.has_value());
    EXPECT_FALSE(a->te_abbrev_specific.has_value());
  }
}

TEST(EmbeddedTeData, BrokenDataFailsAnImportButLoadsTheMainListWithAMessage) {
  testing::TempDir dir;
  std::string path = dir.file("abbreviations.tlv");
  write_file(path, kBrokenData);
  UidCounter uids;
  auto imported = abbr_load_abbreviations_from_file(path, uids, false);
  ASSERT_FALSE(imported);
  EXPECT_EQ(imported.error().rfind(
                "Some errors were found while importing the TextExpander XML data: ", 0),
            0u);
  EXPECT_NE(imported.error().find("This is likely due to someone manually modifying"),
            std::string::npos);

  Library lib;
  testing::RecordingPrompts prompts;
  abbr_load_main_list_from_file(lib, path, prompts);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text.rfind(
                "Some errors were found while importing the TextExpander XML data: ", 0),
            0u);
  ASSERT_EQ(lib.main_list.size(), 1u);
  ASSERT_EQ(lib.main_list[0]->subfolders.size(), 1u);
  EXPECT_EQ(lib.main_list[0]->subfolders[0]->abbreviations.size(), 2u);
}

bool has_raw_control_character(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u < 0x20 && c != '\t' && c != '\n' && c != '\r';
  });
}

Result<KvList> read_document(const std::string& text) {
  auto list = te_importer_handle_snippet_file_data(text, true);
  if (list.ok()) te_kvlist_convert_strings_to_data(*list, {1, 2, 2003, 4, 5, 6});
  return list;
}

TEST(EmbeddedTeData, EveryRealTextExpanderFileTravelsThroughAnAbbreviationFile) {
  const fs::path folder = fs::path(TOLVAN_CORPORA_DIR) / "textexpander";
  if (!fs::exists(folder)) GTEST_SKIP() << "no corpus at " << folder;
  int files = 0, with_control_characters = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().filename().string());
    std::string text = read_file(entry.path().string());
    auto list = read_document(text);
    ASSERT_TRUE(list.ok()) << list.error();
    ++files;

    UidCounter uids;
    FolderList library;
    library.push_back(abbr_create_absolute_parent_folder(uids));
    library[0]->te_group_settings = *list;
    auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, library[0].get(), {});
    a->abbreviations = {"x"};
    a->te_general = *list;
    abbr_add_abbrev_to_folder(*library[0], std::move(a));

    ParsedLibrary parsed = parse(abbr_folder_list_to_xml(library), uids);
    ASSERT_FALSE(parsed.error) << parsed.error->message;
    ASSERT_EQ(parsed.te_errors, "");
    // The abbreviation file cannot carry the control characters XML forbids; its reader
    // drops them, so such a file comes back as if they had never been there.
    KvList expected = *list;
    if (has_raw_control_character(text)) {
      ++with_control_characters;
      std::string cleaned;
      std::copy_if(text.begin(), text.end(), std::back_inserter(cleaned),
                   [](char c) { return !has_raw_control_character(std::string_view(&c, 1)); });
      auto cleaned_list = read_document(cleaned);
      ASSERT_TRUE(cleaned_list.ok()) << cleaned_list.error();
      EXPECT_FALSE(*cleaned_list == *list);
      expected = *cleaned_list;
    }
    EXPECT_TRUE(parsed.top[0]->te_group_settings == expected);
    ASSERT_EQ(parsed.top[0]->abbreviations.size(), 1u);
    EXPECT_TRUE(parsed.top[0]->abbreviations[0]->te_general == expected);
  }
  EXPECT_EQ(files, 128);
  EXPECT_EQ(with_control_characters, 2);
}

}  // namespace
}  // namespace tolvan
