// Every real TextExpander file of the corpus: read as python3's plistlib reads it, then
// written back (as a document and in the embedded one-line form) and read again unchanged.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/shell.h"
#include "support/temp_dir.h"
#include "textexpander/plist_reader.h"
#include "textexpander/plist_values.h"
#include "textexpander/plist_writer.h"

namespace tolvan {
namespace {

namespace fs = std::filesystem;
using testing::read_file;

const AbbrTime kNow{1, 2, 2003, 4, 5, 6};

std::vector<fs::path> corpus_files() {
  return testing::sorted_files(fs::path(TOLVAN_CORPORA_DIR) / "textexpander");
}

Result<KvList> read_document(const std::string& text, bool header = true) {
  auto list = te_importer_handle_snippet_file_data(text, header);
  if (list.ok()) te_kvlist_convert_strings_to_data(*list, kNow);
  return list;
}

void append_json_string(std::string& out, std::string_view s) {
  out += '"';
  for (char c : s) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
      out += buffer;
    } else {
      out += c;
    }
  }
  out += '"';
}

void append_json(std::string& out, const KvValue& value);

void append_json_dict(std::string& out, const KvList& list) {
  out += R"({"t":"dict","v":[)";
  bool first = true;
  for (const KvElement& e : list) {
    if (!first) out += ',';
    first = false;
    out += '[';
    append_json_string(out, e.key);
    out += ',';
    append_json(out, e.value);
    out += ']';
  }
  out += "]}";
}

void append_json(std::string& out, const KvValue& value) {
  auto typed = [&](const char* type) {
    out += R"({"t":")";
    out += type;
    out += R"(","v":)";
  };
  switch (value.type()) {
    case KV_STRING: typed("string"); append_json_string(out, *value.text()); break;
    case KV_DATA: typed("data"); append_json_string(out, *value.text()); break;
    case KV_REAL: typed("real"); append_json_string(out, *value.text()); break;
    case KV_INTEGER: typed("integer"); out += std::to_string(*value.integer()); break;
    case KV_TRUE: typed("bool"); out += "true"; break;
    case KV_FALSE: typed("bool"); out += "false"; break;
    case KV_DATE: {
      const AbbrTime& t = *value.date();
      typed("date");
      out += "[" + std::to_string(t.year) + "," + std::to_string(t.month) + "," +
             std::to_string(t.day) + "," + std::to_string(t.hour) + "," +
             std::to_string(t.minute) + "," + std::to_string(t.second) + "]";
      break;
    }
    case KV_DICT: append_json_dict(out, *value.list()); return;
    case KV_EMPTY_ARRAY: typed("array"); out += "[]"; break;
    case KV_VALUE_ARRAY:
    case KV_DICT_ARRAY: {
      typed("array");
      out += '[';
      bool first = true;
      auto separate = [&] { if (!first) out += ','; first = false; };
      if (value.type() == KV_VALUE_ARRAY) {
        for (const KvElement& e : *value.list()) { separate(); append_json(out, e.value); }
      } else {
        for (const KvList& d : *value.dicts()) { separate(); append_json_dict(out, d); }
      }
      out += ']';
      break;
    }
    default: typed("unexpected"); out += std::to_string(value.type()); break;
  }
  out += '}';
}

TEST(PlistCorpus, EveryFileReadsAsPlistlibReadsIt) {
  std::vector<fs::path> files = corpus_files();
  ASSERT_EQ(files.size(), 128u);
  testing::TempDir dir;
  const std::string script = std::string(TOLVAN_SOURCE_DIR) + "/tests/textexpander/plist_compare.py";
  std::string command = "python3 " + testing::shell_quoted(script);
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(files[i].filename().string());
    auto list = read_document(read_file(files[i].string()));
    ASSERT_TRUE(list.ok()) << list.error();
    std::string json;
    append_json_dict(json, *list);
    std::string ours = dir.file(std::to_string(i) + ".json");
    testing::write_file(ours, json);
    command += " " + testing::shell_quoted(ours) + " " + testing::shell_quoted(files[i].string());
  }
  auto [status, output] = testing::run_command(command);
  EXPECT_EQ(status, 0) << output;
}

TEST(PlistCorpus, EveryFileWritesBackToTheSameLists) {
  for (const fs::path& file : corpus_files()) {
    SCOPED_TRACE(file.filename().string());
    auto list = read_document(read_file(file.string()));
    ASSERT_TRUE(list.ok()) << list.error();
    ASSERT_FALSE(list->empty());

    std::string written = te_kvlist_to_plist_document(*list);
    auto again = read_document(written);
    ASSERT_TRUE(again.ok()) << again.error();
    EXPECT_TRUE(*again == *list);
    // Writing is stable: what was read back writes the same bytes.
    EXPECT_EQ(te_kvlist_to_plist_document(*again), written);

    std::string embedded;
    te_dump_kvlist(embedded, *list, TE_KV_GENERAL);
    // One line: no key starts a line or follows indentation.
    EXPECT_EQ(embedded.find("\n<key>"), std::string::npos);
    EXPECT_EQ(embedded.find("\t<key>"), std::string::npos);
    const std::string open = "<textexpander>";
    ASSERT_EQ(embedded.rfind(open, 0), 0u);
    ASSERT_TRUE(embedded.ends_with("</textexpander>"));
    std::string inner = embedded.substr(open.size(), embedded.size() - 2 * open.size() - 1);
    auto from_embedded = read_document(inner, false);
    ASSERT_TRUE(from_embedded.ok()) << from_embedded.error();
    EXPECT_TRUE(*from_embedded == *list);
  }
}

}  // namespace
}  // namespace tolvan
