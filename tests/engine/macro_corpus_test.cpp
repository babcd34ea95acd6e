// The macros against real TextExpander snippets: every plain-text snippet of the corpus
// files expands without harm, and snippets whose codes have one meaning survive the trip
// to Tolvan's macros and back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/strings.h"
#include "core/utf.h"
#include "engine/macros/insertion.h"
#include "engine/macros/textexpander_codes.h"
#include "macro_test_support.h"

namespace tolvan {
namespace {

namespace fs = std::filesystem;

std::string xml_unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out += s[i];
      continue;
    }
    size_t semi = s.find(';', i);
    if (semi == std::string::npos) {
      out += s[i];
      continue;
    }
    std::string entity = s.substr(i + 1, semi - i - 1);
    char32_t ch = 0;
    if (entity == "amp") ch = '&';
    else if (entity == "lt") ch = '<';
    else if (entity == "gt") ch = '>';
    else if (entity == "quot") ch = '"';
    else if (entity == "apos") ch = '\'';
    else if (entity.size() > 1 && entity[0] == '#')
      ch = static_cast<char32_t>(entity[1] == 'x' ? std::stoul(entity.substr(2), nullptr, 16)
                                                  : std::stoul(entity.substr(1)));
    if (ch == 0) {
      out += s[i];
      continue;
    }
    utf8_append(out, ch);
    i = semi;
  }
  return out;
}

// The plainText strings holding a "%" of every TextExpander file in the corpus.
std::vector<std::string> corpus_snippets() {
  std::vector<std::string> snippets;
  fs::path dir = fs::path(TOLVAN_CORPORA_DIR) / "textexpander";
  if (!fs::is_directory(dir)) return snippets;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".textexpander") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string file = buffer.str();
    const std::string key = "<key>plainText</key>";
    for (size_t at = file.find(key); at != std::string::npos; at = file.find(key, at + 1)) {
      size_t open = file.find_first_not_of(" \t\r\n", at + key.size());
      if (open == std::string::npos || file.compare(open, 8, "<string>") != 0) continue;
      size_t close = file.find("</string>", open);
      if (close == std::string::npos) break;
      std::string snippet = xml_unescape(file.substr(open + 8, close - open - 8));
      if (snippet.find('%') != std::string::npos) snippets.push_back(std::move(snippet));
    }
  }
  return snippets;
}

bool contains_ignore_case(std::string_view text, std::string_view what) {
  return bytes_to_string(text, what, false) >= 0;
}

// Spellings that convert to a macro whose way back is another spelling.
bool has_code_with_two_meanings(std::string_view text) {
  // The later fill-ins run as Input and have no spelling of their own among the macros.
  for (std::string_view synonym : {"%%", "%fill:%", "%key:enter%", "%key:escape%", "%(",
                                   "%filltext:", "%fillarea:", "%fillpopup:", "%fillpart"}) {
    if (contains_ignore_case(text, synonym)) return true;
  }
  return false;
}

class MacroCorpus : public testing::MacroTest {};

TEST_F(MacroCorpus, SnippetsExpandToValidText) {
  std::vector<std::string> snippets = corpus_snippets();
  if (snippets.empty()) GTEST_SKIP() << "no TextExpander corpus at " << TOLVAN_CORPORA_DIR;
  MacroEnvironment env = clock_at(at(2025, 6, 7));
  env.clipboard_text = [] { return std::optional<std::string>("clip"); };
  for (const std::string& snippet : snippets) {
    InsertionResult r = insertion_macros_execute(snippet, env);
    if (utf8_valid(snippet)) {
      EXPECT_TRUE(utf8_valid(r.text)) << snippet;
    }
    EXPECT_LE(static_cast<size_t>(r.cursor_back), utf8_length(r.text)) << snippet;
  }
}

TEST_F(MacroCorpus, SnippetsWithOneMeaningRoundTrip) {
  std::vector<std::string> snippets = corpus_snippets();
  if (snippets.empty()) GTEST_SKIP() << "no TextExpander corpus at " << TOLVAN_CORPORA_DIR;
  size_t checked = 0, converted = 0;
  for (const std::string& snippet : snippets) {
    if (has_code_with_two_meanings(snippet)) continue;
    std::string own = te_macros_to_tolvan_macros(snippet);
    converted += own != snippet;
    EXPECT_EQ(tolvan_macros_to_te_macros(own), snippet);
    ++checked;
  }
  EXPECT_GT(checked, 500u);
  EXPECT_GT(converted, 100u);
}

}  // namespace
}  // namespace tolvan
