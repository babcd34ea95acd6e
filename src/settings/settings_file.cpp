// Reading and writing the settings file.
#include "settings/settings_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "core/paths.h"
#include "core/safe_save.h"
#include "core/strings.h"

namespace tolvan {
namespace {

Error invalid() { return Error{std::string(kSettingsInvalidError)}; }

bool is_space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string escape_field(std::string_view s) {
  return escape_string(escape_string(s, '\\'), '"');
}

std::string unescape_field(std::string_view s) {
  return unescape_string(unescape_string(s, '"'), '\\');
}

// Double quotes not preceded by an escaping backslash (a backslash and the byte after it
// count as one pair).
long unescaped_quotes(std::string_view s) { return charcount(s, '"', true, true); }

// Position of the next unescaped `c` at or after `from`, or npos.
size_t find_unescaped(std::string_view s, char c, size_t from) {
  for (size_t i = from; i < s.size(); ++i) {
    if (s[i] == '\\') {
      ++i;
    } else if (s[i] == c) {
      return i;
    }
  }
  return std::string_view::npos;
}

size_t skip_space(std::string_view s, size_t i) {
  while (i < s.size() && is_space(s[i])) ++i;
  return i;
}

struct Record {
  std::string key;
  std::string value;
};

// One gathered record: ws " key " ws = ws " value " ws.
std::optional<Record> parse_record(std::string_view text) {
  size_t i = skip_space(text, 0);
  if (i >= text.size() || text[i] != '"') return std::nullopt;
  size_t key_end = find_unescaped(text, '"', i + 1);
  if (key_end == std::string_view::npos) return std::nullopt;
  std::string_view key = text.substr(i + 1, key_end - i - 1);
  i = skip_space(text, key_end + 1);
  if (i >= text.size() || text[i] != '=') return std::nullopt;
  i = skip_space(text, i + 1);
  if (i >= text.size() || text[i] != '"') return std::nullopt;
  size_t value_end = find_unescaped(text, '"', i + 1);
  if (value_end == std::string_view::npos) return std::nullopt;
  std::string_view value = text.substr(i + 1, value_end - i - 1);
  if (skip_space(text, value_end + 1) != text.size()) return std::nullopt;
  return Record{unescape_field(key), unescape_field(value)};
}

// What the C library's text mode does when reading: CR LF becomes LF.
std::string crlf_to_lf(std::string_view text) { return substitute_str(text, "\r\n", "\n"); }

}  // namespace

std::string settings_serialize(const Settings& settings) {
  std::string out;
  for (const auto& e : settings) {
    out += '"';
    out += escape_field(e.key);
    out += "\"=\"";
    out += escape_field(e.value);
    out += "\"\n";
  }
  return substitute_str(out, "\n", "\r\n");
}

Status settings_parse(std::string_view raw, Settings& into) {
  const std::string text = crlf_to_lf(raw);
  std::string_view rest = text;
  auto next_line = [&rest]() {
    size_t nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl == std::string_view::npos ? rest.size() : nl + 1);
    rest.remove_prefix(line.size());
    return line;
  };

  Settings result = into;
  while (!rest.empty()) {
    std::string_view line = next_line();
    if (std::all_of(line.begin(), line.end(), is_space)) continue;  // never empty here
    // Records may span lines. Each line but the last ends in a line feed, so no escape pair
    // crosses a line boundary and the quotes can be counted line by line.
    std::string gathered(line);
    long quotes = unescaped_quotes(line);
    while (quotes < 4) {
      if (rest.empty()) return invalid();
      line = next_line();
      gathered += line;
      quotes += unescaped_quotes(line);
    }
    if (quotes != 4) return invalid();
    auto record = parse_record(gathered);
    if (!record) return invalid();
    result.set(record->key, record->value);
  }
  into = std::move(result);
  return Status::success();
}

Result<Settings> settings_load_from_file(const std::string& path) {
  Settings settings;
  Status status = settings_load_from_file(path, settings, nullptr);
  if (!status) return Error{status.error()};
  return settings;
}

Status settings_load_from_file(const std::string& path, Settings& into, std::int64_t* mtime) {
  if (mtime) {
    struct stat st {};
    *mtime = ::stat(path.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_mtime) : 0;
  }
  if (directory_exists(path)) return Error{std::string(kSettingsOpenError)};
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{std::string(kSettingsOpenError)};
  std::ostringstream contents;
  contents << in.rdbuf();
  if (in.bad()) return Error{std::string(kSettingsOpenError)};
  return settings_parse(contents.str(), into);
}

Status settings_dump_to_file(const Settings& settings, const std::string& path) {
  std::string folder = parse_out_directory(path);
  if (folder != path && !folder.empty()) mkdir_p(folder);
  return safe_save_file(path, settings_serialize(settings));
}

}  // namespace tolvan
