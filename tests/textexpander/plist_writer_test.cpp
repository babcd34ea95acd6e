// Writing property lists: the exact text of documents and embedded dictionaries, and
// hostile values that must come back unchanged.
#include <gtest/gtest.h>

#include "textexpander/plist_reader.h"
#include "textexpander/plist_values.h"
#include "textexpander/plist_writer.h"

namespace tolvan {
namespace {

KvList sample() {
  KvList inner;
  kvlist_append(inner, "n", KvValue::of_integer(-3));
  KvList values;
  kvlist_append(values, "", KvValue::of_string("a"), true);
  kvlist_append(values, "", KvValue::of_string("a"), true);
  KvList list;
  kvlist_append(list, "s", KvValue::of_string("x & <y>"));
  kvlist_append(list, "when", KvValue::of_date(AbbrTime{3, 7, 2009, 18, 5, 9}));
  kvlist_append(list, "yes", KvValue::of_bool(true));
  kvlist_append(list, "d", KvValue::of_dict(inner));
  kvlist_append(list, "v", KvValue::of_values(values));
  kvlist_append(list, "g", KvValue::of_dicts({inner}));
  kvlist_append(list, "e", KvValue::empty_array());
  kvlist_append(list, "none", KvValue::of_dict({}));
  return list;
}

TEST(PlistWriter, DocumentsIndentEveryLevelWithTabs) {
  EXPECT_EQ(te_kvlist_to_plist_document(sample()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
            "<plist version=\"1.0\">\n<dict>\n"
            "\t<key>s</key>\n\t<string>x &amp; &lt;y&gt;</string>\n"
            "\t<key>when</key>\n\t<date>2009-03-07T18:05:09Z</date>\n"
            "\t<key>yes</key>\n\t<true/>\n"
            "\t<key>d</key>\n\t<dict>\n\t\t<key>n</key>\n\t\t<integer>-3</integer>\n\t</dict>\n"
            "\t<key>v</key>\n\t<array>\n\t\t<string>a</string>\n\t\t<string>a</string>\n"
            "\t</array>\n"
            "\t<key>g</key>\n\t<array>\n\t\t<dict>\n\t\t\t<key>n</key>\n"
            "\t\t\t<integer>-3</integer>\n\t\t</dict>\n\t</array>\n"
            "\t<key>e</key>\n\t<array/>\n"
            "\t<key>none</key>\n\t<dict/>\n"
            "</dict>\n</plist>\n");
}

TEST(PlistWriter, EmbeddedFormIsOneUnindentedLine) {
  std::string out;
  te_dump_kvlist(out, sample(), TE_KV_GROUP_SETTINGS);
  EXPECT_EQ(out,
            "<textexpanderSG><dict><key>s</key><string>x &amp; &lt;y&gt;</string>"
            "<key>when</key><date>2009-03-07T18:05:09Z</date><key>yes</key><true/>"
            "<key>d</key><dict><key>n</key><integer>-3</integer></dict>"
            "<key>v</key><array><string>a</string><string>a</string></array>"
            "<key>g</key><array><dict><key>n</key><integer>-3</integer></dict></array>"
            "<key>e</key><array/><key>none</key><dict/></dict></textexpanderSG>");
  EXPECT_EQ(te_kvlist_to_xml_string(sample(), false, true, false, 0).find('\t'),
            std::string::npos);
}

TEST(PlistWriter, HostileTextComesBackUnchanged) {
  const std::string texts[] = {
      "a &amp;lt; b", "<dict></dict>", "</string>", "&#33;&#10;", "tab\there\r\nCR\rend",
      "quotes \" and '", std::string("nul\0inside", 10), "\xE2\x82\xAC \xF0\x9F\x98\x80",
      std::string(100000, '&'),
  };
  for (const std::string& text : texts) {
    KvList list;
    kvlist_append(list, "key <&>", KvValue::of_string(text));
    auto back = te_importer_handle_snippet_file_data(te_kvlist_to_plist_document(list), true);
    ASSERT_TRUE(back.ok()) << back.error();
    EXPECT_TRUE(*back == list) << text.substr(0, 40);
  }
}

}  // namespace
}  // namespace tolvan
