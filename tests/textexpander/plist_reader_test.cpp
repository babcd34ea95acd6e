// Reading property lists: documents as TextExpander writes them, and the hostile and
// unusual inputs the reader must refuse or survive.
#include <gtest/gtest.h>

#include <string>

#include "textexpander/plist_reader.h"
#include "textexpander/plist_values.h"

namespace tolvan {
namespace {

const AbbrTime kNow{6, 15, 2020, 12, 30, 45};

std::string document(std::string_view body, std::string_view newline = "\n",
                     std::string_view id = "-//Apple//DTD PLIST 1.0//EN") {
  std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
  s.append(newline).append("<!DOCTYPE plist PUBLIC \"").append(id);
  s.append("\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">").append(newline);
  s.append("<plist version=\"1.0\">").append(newline).append(body).append(newline);
  s.append("</plist>").append(newline);
  return s;
}

// Reads a document and converts its values, as every caller does.
Result<KvList> read(std::string_view text, bool header = true) {
  auto list = te_importer_handle_snippet_file_data(text, header);
  if (list.ok()) te_kvlist_convert_strings_to_data(*list, kNow);
  return list;
}

KvList read_ok(std::string_view text, bool header = true) {
  auto list = read(text, header);
  EXPECT_TRUE(list.ok()) << list.error();
  return list.ok() ? *list : KvList{};
}

std::string read_error(std::string_view text, bool header = true) {
  auto list = read(text, header);
  EXPECT_FALSE(list.ok());
  return list.ok() ? std::string() : list.error();
}

TEST(PlistHeader, AcceptsBothLineEndsAndBothIdentifiersInAnyCase) {
  for (std::string_view newline : {"\n", "\r\n"}) {
    for (std::string_view id :
         {"-//Apple//DTD PLIST 1.0//EN", "-//Apple Computer//DTD PLIST 1.0//EN"}) {
      KvList list = read_ok(document("<dict><key>a</key><string>x</string></dict>", newline, id));
      ASSERT_NE(kvlist_lookup_value_type(list, "a", KV_STRING), nullptr);
    }
  }
  std::string shouting = document("<dict/>");
  for (char& c : shouting) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_TRUE(read(shouting).ok());
}

TEST(PlistHeader, RefusesAnythingBeforeOrInsteadOfTheHeader) {
  const std::string body = "<dict><key>a</key><string>x</string></dict>";
  EXPECT_EQ(read_error("\xEF\xBB\xBF" + document(body)), "Header validation failed.");
  EXPECT_EQ(read_error("\n" + document(body)), "Header validation failed.");
  EXPECT_EQ(read_error(body), "Header validation failed.");
  EXPECT_EQ(read_error(""), "Header validation failed.");
  EXPECT_EQ(read_error(document(body, "\n", "-//Other//DTD PLIST 1.0//EN")),
            "Header validation failed.");
  // Embedded dictionaries have no header.
  EXPECT_TRUE(read(body, false).ok());
}

TEST(PlistDictionary, KeysAreUniqueWithoutRegardToCase) {
  KvList list = read_ok(
      document("<dict><key>a</key><string>x</string><key>A</key><string>y</string></dict>"));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list.elements[0].key, "a");
  EXPECT_EQ(*list.elements[0].value.string(), "y");
}

TEST(PlistDictionary, ReadsEveryValueType) {
  KvList list = read_ok(document(
      "<dict>\n\t<key>s</key>\n\t<string>text</string>\n"
      "\t<key>d</key><data>\n\tAAEC\n\t</data>\n"
      "\t<key>when</key><date>2009-03-07T18:05:09Z</date>\n"
      "\t<key>n</key><integer>-42</integer>\n"
      "\t<key>r</key><real>0.25</real>\n"
      "\t<key>yes</key><true/>\n\t<key>no</key><false/>\n"
      "\t<key>nested</key><dict><key>inner</key><integer>7</integer></dict>\n"
      "\t<key>none</key><dict/>\n"
      "</dict>"));
  ASSERT_EQ(list.size(), 9u);
  EXPECT_EQ(*kvlist_lookup_value_type(list, "s", KV_STRING)->text(), "text");
  // Data stays the Base64 text it was written as, white space and all.
  EXPECT_EQ(*kvlist_lookup_value_type(list, "d", KV_DATA)->text(), "\n\tAAEC\n\t");
  EXPECT_EQ(*kvlist_lookup_value_type(list, "when", KV_DATE)->date(),
            (AbbrTime{3, 7, 2009, 18, 5, 9}));
  EXPECT_EQ(kvlist_lookup_value_type(list, "n", KV_INTEGER)->integer(), -42);
  EXPECT_EQ(*kvlist_lookup_value_type(list, "r", KV_REAL)->text(), "0.25");
  EXPECT_EQ(kvlist_lookup_value_type(list, "yes", KV_TRUE)->integer(), 1);
  EXPECT_EQ(kvlist_lookup_value_type(list, "no", KV_FALSE)->integer(), 0);
  const KvValue* nested = kvlist_lookup_value_type(list, "nested", KV_DICT);
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(kvlist_lookup_value_type(*nested->list(), "inner", KV_INTEGER)->integer(), 7);
  EXPECT_TRUE(kvlist_lookup_value_type(list, "none", KV_DICT)->list()->empty());
}

TEST(PlistDictionary, EmptyElementsAreEmptyStringsNotTheWhiteSpaceAfterThem) {
  KvList list = read_ok(document(
      "<dict>\n  <key>label</key>\n  <string/>\n  <key>next</key>\n  <string>x</string>\n"
      "  <key>blank</key><string></string></dict>"));
  EXPECT_EQ(*kvlist_lookup_value(list, "label")->string(), "");
  EXPECT_EQ(*kvlist_lookup_value(list, "next")->string(), "x");
  EXPECT_EQ(*kvlist_lookup_value(list, "blank")->string(), "");
}

TEST(PlistDictionary, OnlyTheFirstDictionaryCounts) {
  KvList list = read_ok(document(
      "<dict><key>a</key><integer>1</integer></dict><dict><key>b</key><integer>2</integer>"
      "</dict>"));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list.elements[0].key, "a");
}

TEST(PlistArrays, PlainValuesKeepDuplicatesAndOrder) {
  KvList list = read_ok(document(
      "<dict><key>v</key><array><string>same</string><string>same</string>"
      "<integer>3</integer><true/></array></dict>"));
  const KvValue* v = kvlist_lookup_value_type(list, "v", KV_VALUE_ARRAY);
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->list()->size(), 4u);
  EXPECT_EQ(*v->list()->elements[1].value.string(), "same");
  EXPECT_EQ(v->list()->elements[2].value.integer(), 3);
  EXPECT_EQ(v->list()->elements[3].value.type(), KV_TRUE);
  for (const KvElement& e : *v->list()) EXPECT_EQ(e.key, "");
}

TEST(PlistArrays, DictionariesAndEmptyArrays) {
  KvList list = read_ok(document(
      "<dict><key>groups</key><array><dict><key>n</key><integer>1</integer></dict>"
      "<dict><key>n</key><date>2001-02-03T04:05:06Z</date></dict></array>"
      "<key>e1</key><array/><key>e2</key><array>\n\t</array></dict>"));
  const KvValue* groups = kvlist_lookup_value_type(list, "groups", KV_DICT_ARRAY);
  ASSERT_NE(groups, nullptr);
  ASSERT_EQ(groups->dicts()->size(), 2u);
  EXPECT_EQ(*kvlist_lookup_value((*groups->dicts())[1], "n")->date(),
            (AbbrTime{2, 3, 2001, 4, 5, 6}));
  EXPECT_EQ(kvlist_lookup_value(list, "e1")->type(), KV_EMPTY_ARRAY);
  EXPECT_EQ(kvlist_lookup_value(list, "e2")->type(), KV_EMPTY_ARRAY);
}

TEST(PlistArrays, MixedOrNestedArraysAreRefused) {
  EXPECT_EQ(read_error(document("<dict><key>a</key><array><dict/><string>x</string></array>"
                                "</dict>")),
            "Mixed array found (data 4 instead of dict).");
  EXPECT_EQ(read_error(document("<dict><key>a</key><array><string>x</string><dict/></array>"
                                "</dict>")),
            "Mixed array found (dict instead of data).");
  EXPECT_EQ(read_error(document("<dict><key>a</key><array><array/></array></dict>")),
            "An array inside an array is not supported.");
  EXPECT_EQ(read_error(document("<dict><key>a</key><array></string></array></dict>")),
            "Found 2 tag, expected open (1) tag.");
}

TEST(PlistText, ReferencesAreDecodedOnceInAnyCase) {
  KvList list = read_ok(document(
      "<dict><key>a</key><string>a &amp;amp;lt; b</string>"
      "<key>b</key><string>&LT;&Gt;&quot;&#10;&#9;&#33;&#x41;&unknown; &amp</string></dict>"));
  EXPECT_EQ(*kvlist_lookup_value(list, "a")->string(), "a &amp;lt; b");
  EXPECT_EQ(*kvlist_lookup_value(list, "b")->string(), "<>\"\n\t!A&unknown; &amp");
}

TEST(PlistValues, DatesAndIntegersThatCannotBeRead) {
  KvList list = read_ok(document(
      "<dict><key>d</key><date>yesterday</date><key>n</key><integer>42abc</integer>"
      "<key>z</key><integer/><key>big</key><integer>99999999999</integer></dict>"));
  EXPECT_EQ(*kvlist_lookup_value(list, "d")->date(), kNow);
  EXPECT_EQ(kvlist_lookup_value(list, "n")->integer(), 42);
  EXPECT_EQ(kvlist_lookup_value(list, "z")->integer(), 0);
  EXPECT_EQ(kvlist_lookup_value(list, "big")->integer(), 2147483647);
}

TEST(PlistErrors, TagsOutsideTheFormatAreNamed) {
  EXPECT_EQ(read_error(document("<dict><key>a</key><string lang=\"en\">x</string></dict>")),
            "Unknown element <string lang=\"en\"> found.");
  EXPECT_EQ(read_error(document("<dict><key>a</key><string xml:space=\"preserve\">x</string>"
                                "</dict>")),
            "Unknown element <string xml:space=\"p... found.");
  EXPECT_EQ(read_error(document("<dict><key>a</key><foo>x</foo></dict>")),
            "Unknown element <foo> found.");
  EXPECT_EQ(read_error(document("<dict><!-- note --><key>a</key><true/></dict>")),
            "Unknown element <!-- note --> found.");
  EXPECT_EQ(read_error(document("<dict><key>a</key><string><![CDATA[x]]></string></dict>")),
            "Unknown element <![CDATA[x]]> found.");
}

TEST(PlistErrors, DictionaryStructureErrors) {
  EXPECT_EQ(read_error(document("<dict><string>x</string></dict>")),
            "Expected element type 2, instead got 4.");
  EXPECT_EQ(read_error(document("<dict><key>a</key></dict>")),
            "Expected data element after <key> but found nothing (10).");
  EXPECT_EQ(read_error(document("<dict><key>a</key><key>b</key><true/></dict>")),
            "Found unknown element type 2 below <key>.");
  EXPECT_EQ(read_error(document("</dict>")), "Found closing element 10, expected open.");
}

TEST(PlistErrors, CutOffDocumentsAndTagsFailCleanly) {
  const std::string whole = document(
      "<dict><key>a</key><dict><key>b</key><array><string>x</string></array></dict>"
      "<key>c</key><string>y</string></dict>");
  ASSERT_TRUE(read(whole).ok());
  std::size_t header = te_plist_header_length(whole);
  for (std::size_t cut = header; cut < whole.rfind("</dict>") + 7; ++cut) {
    auto list = read(whole.substr(0, cut));
    EXPECT_FALSE(list.ok()) << "cut at " << cut;
  }
  EXPECT_EQ(read_error(whole.substr(0, whole.find("<key>c"))),
            "The property list ends before its dictionary is complete.");
  EXPECT_EQ(read_error(whole.substr(0, whole.rfind("</dict>") + 6)), "Found unknown element type 10");
}

TEST(PlistErrors, DeepNestingIsRefusedNotCrashed) {
  std::string body;
  for (int i = 0; i < 1000; ++i) body += "<dict><key>k</key>";
  body += "<true/>";
  for (int i = 0; i < 1000; ++i) body += "</dict>";
  EXPECT_EQ(read_error(document(body)), "The property list nests deeper than 64 levels.");
}

TEST(PlistErrors, BinaryGarbageNeverCrashes) {
  std::string garbage = document("<dict><key>\x01\xFF</key><string>\x80\x00<</string></dict>");
  auto list = read(garbage);
  EXPECT_FALSE(list.ok());
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 7919) % 256);
  EXPECT_FALSE(read(noise, false).ok());
}

}  // namespace
}  // namespace tolvan
