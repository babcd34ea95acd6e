#include "import/dropbox_folder.h"

#include <cstdint>
#include <fstream>

#include "core/paths.h"

namespace tolvan {
namespace {

// Files larger than this are not the client's small configuration files.
constexpr std::streamsize kMaxFileSize = 1 << 20;
// Deeper nesting than this is not what the client writes.
constexpr int kMaxDepth = 32;

std::optional<std::string> plain_absolute_path(std::string path) {
  if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos) return std::nullopt;
  for (unsigned char c : path) {
    if (c < 0x20) return std::nullopt;
  }
  return path;
}

void append_utf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Just enough JSON to find two nested strings: every value is checked for well-formedness
// and skipped unless it is one asked for. Any fault ends the reading.
class JsonCursor {
 public:
  explicit JsonCursor(std::string_view text) : s_(text) {}

  // The "path" of the object under `account` at the top level.
  std::optional<std::string> account_path(std::string_view account) {
    pos_ = 0;
    std::optional<std::string> found;
    bool ok = members(0, [&](const std::string& key, int depth) {
      if (key != account || !peek('{')) return value(depth);
      return members(depth, [&](const std::string& inner, int d) {
        if (inner != "path" || !peek('"')) return value(d);
        std::optional<std::string> s = string();
        if (!s) return false;
        found = std::move(s);
        return true;
      });
    });
    skip_space();
    if (!ok || pos_ != s_.size()) return std::nullopt;
    return found;
  }

 private:
  template <class OnMember>
  bool members(int depth, OnMember on_member) {
    if (depth > kMaxDepth || !take('{')) return false;
    if (take('}')) return true;
    do {
      skip_space();
      std::optional<std::string> key = string();
      if (!key || !take(':')) return false;
      skip_space();
      if (!on_member(*key, depth + 1)) return false;
    } while (take(','));
    return take('}');
  }

  bool value(int depth) {
    if (depth > kMaxDepth) return false;
    skip_space();
    if (pos_ >= s_.size()) return false;
    const char c = s_[pos_];
    if (c == '{') return members(depth, [this](const std::string&, int d) { return value(d); });
    if (c == '[') {
      ++pos_;
      if (take(']')) return true;
      do {
        if (!value(depth + 1)) return false;
      } while (take(','));
      return take(']');
    }
    if (c == '"') return string().has_value();
    for (std::string_view word : {"true", "false", "null"}) {
      if (s_.substr(pos_, word.size()) == word) {
        pos_ += word.size();
        return true;
      }
    }
    return number();
  }

  bool number() {
    const size_t start = pos_;
    while (pos_ < s_.size() && std::string_view("+-0123456789.eE").find(s_[pos_]) != std::string_view::npos) {
      ++pos_;
    }
    return pos_ > start;
  }

  std::optional<uint32_t> hex4() {
    if (s_.size() - pos_ < 4) return std::nullopt;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = s_[pos_++];
      v <<= 4;
      if (c >= '0' && c <= '9') v |= static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f') v |= static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') v |= static_cast<uint32_t>(c - 'A' + 10);
      else return std::nullopt;
    }
    return v;
  }

  std::optional<std::string> string() {
    if (!take('"')) return std::nullopt;
    std::string out;
    while (pos_ < s_.size()) {
      const unsigned char c = static_cast<unsigned char>(s_[pos_++]);
      if (c == '"') return out;
      if (c < 0x20) return std::nullopt;
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (pos_ >= s_.size()) return std::nullopt;
      const char e = s_[pos_++];
      switch (e) {
        case '"': case '\\': case '/': out += e; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          std::optional<uint32_t> cp = hex4();
          if (!cp) return std::nullopt;
          if (*cp >= 0xD800 && *cp < 0xDC00) {
            if (s_.substr(pos_, 2) != "\\u") return std::nullopt;
            pos_ += 2;
            std::optional<uint32_t> low = hex4();
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return std::nullopt;
            *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
          } else if (*cp >= 0xDC00 && *cp <= 0xDFFF) {
            return std::nullopt;
          }
          append_utf8(out, *cp);
          break;
        }
        default: return std::nullopt;
      }
    }
    return std::nullopt;
  }

  void skip_space() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r')) {
      ++pos_;
    }
  }
  bool peek(char c) {
    skip_space();
    return pos_ < s_.size() && s_[pos_] == c;
  }
  bool take(char c) {
    if (!peek(c)) return false;
    ++pos_;
    return true;
  }

  std::string_view s_;
  size_t pos_ = 0;
};

int base64_value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

std::optional<std::string> read_small_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(static_cast<size_t>(kMaxFileSize) + 1, '\0');
  in.read(text.data(), kMaxFileSize + 1);
  if (in.bad() || in.gcount() > kMaxFileSize) return std::nullopt;
  text.resize(static_cast<size_t>(in.gcount()));
  return text;
}

}  // namespace

std::optional<std::string> dropbox_folder_from_info_json(std::string_view text) {
  for (std::string_view account : {"personal", "business"}) {
    if (std::optional<std::string> path = JsonCursor(text).account_path(account)) {
      if (std::optional<std::string> plain = plain_absolute_path(std::move(*path))) return plain;
    }
  }
  return std::nullopt;
}

std::optional<std::string> dropbox_folder_from_host_db(std::string_view text) {
  const size_t first_end = text.find('\n');
  if (first_end == std::string_view::npos) return std::nullopt;
  std::string_view line = text.substr(first_end + 1);
  line = line.substr(0, line.find('\n'));
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  while (!line.empty() && line.back() == '=') line.remove_suffix(1);
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : line) {
    const int v = base64_value(c);
    if (v < 0) return std::nullopt;
    bits = (bits << 6) | static_cast<uint32_t>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return plain_absolute_path(std::move(out));
}

std::optional<std::string> dropbox_get_folder_path(const std::string& home) {
  if (home.empty()) return std::nullopt;
  const std::string dir = path_join(home, ".dropbox");
  if (std::optional<std::string> text = read_small_file(path_join(dir, "info.json"))) {
    if (std::optional<std::string> path = dropbox_folder_from_info_json(*text)) return path;
  }
  if (std::optional<std::string> text = read_small_file(path_join(dir, "host.db"))) {
    return dropbox_folder_from_host_db(*text);
  }
  return std::nullopt;
}

}  // namespace tolvan
