// Character references and escaping of property-list text.
#include "textexpander/plist_text.h"

#include <cstdint>

#include "core/strings.h"
#include "core/utf.h"

namespace tolvan {
namespace {

struct NamedReference {
  std::string_view name;  // between "&" and ";"
  char character;
};

constexpr NamedReference kNamedReferences[] = {
    {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''},
};

int digit_value(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code point of a numeric reference body such as "#10" or "#x21", if it is one of a
// character XML allows.
bool numeric_reference(std::string_view body, uint32_t& cp) {
  if (body.size() < 2 || body[0] != '#') return false;
  bool hex = body[1] == 'x' || body[1] == 'X';
  std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return false;
  uint32_t value = 0;
  for (char c : digits) {
    int d = digit_value(c, hex);
    if (d < 0) return false;
    value = value * (hex ? 16 : 10) + static_cast<uint32_t>(d);
  }
  if (!xml_char_allowed(value)) return false;
  cp = value;
  return true;
}

}  // namespace

std::string te_decode_text(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  std::size_t i = 0;
  while (i < raw.size()) {
    std::size_t amp = raw.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(raw.substr(i));
      break;
    }
    out.append(raw.substr(i, amp - i));
    i = amp + 1;
    // The longest reference body is "#x10FFFF" and a little more for leading zeros.
    std::size_t semicolon = raw.substr(i, 12).find(';');
    if (semicolon == std::string_view::npos) {
      out += '&';
      continue;
    }
    std::string_view body = raw.substr(i, semicolon);
    bool decoded = false;
    for (const NamedReference& r : kNamedReferences) {
      if (equals_ignore_case(body, r.name)) {
        out += r.character;
        decoded = true;
        break;
      }
    }
    uint32_t cp = 0;
    if (!decoded && numeric_reference(body, cp)) {
      utf8_append(out, cp);
      decoded = true;
    }
    if (decoded) {
      i += semicolon + 1;
    } else {
      out += '&';
    }
  }
  return out;
}

void te_htmlize_append(std::string& out, std::string_view s) {
  // Most text has nothing to escape: it goes in whole runs, not byte by byte.
  size_t run = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    std::string_view entity;
    switch (s[i]) {
      case '&': entity = "&amp;"; break;
      case '<': entity = "&lt;"; break;
      case '>': entity = "&gt;"; break;
      default: continue;
    }
    out.append(s.substr(run, i - run));
    out.append(entity);
    run = i + 1;
  }
  out.append(s.substr(run));
}

std::string te_htmlize(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  te_htmlize_append(out, s);
  return out;
}

}  // namespace tolvan
