// Writing property lists. Everything appends to one string, so a large settings document
// is built without copying nested containers again at each level.
#include "textexpander/plist_writer.h"

#include "textexpander/plist_values.h"

namespace tolvan {

const std::string_view kPlistDocumentHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">";

namespace {

// How a list is laid out and escaped.
struct Style {
  bool newline = false;
  // The abbreviation file's XML parser turns a raw CR into a line feed, so the embedded
  // form writes it as a reference; TextExpander's own documents keep it raw.
  bool cr_as_reference = false;
};

void append_line_start(std::string& out, const Style& style, int depth) {
  if (style.newline) out += '\n';
  out.append(static_cast<std::size_t>(depth), '\t');
}

void append_text(std::string& out, std::string_view text, const Style& style) {
  if (!style.cr_as_reference) return te_htmlize_append(out, text);
  std::size_t start = 0;
  for (std::size_t cr = text.find('\r'); cr != std::string_view::npos;
       cr = text.find('\r', start)) {
    te_htmlize_append(out, text.substr(start, cr - start));
    out += "&#13;";
    start = cr + 1;
  }
  te_htmlize_append(out, text.substr(start));
}

// Containers indent their contents one level deeper, except that 0 means no indentation.
int inner_depth(int depth) { return depth == 0 ? 0 : depth + 1; }

void append_list(std::string& out, const KvList& list, bool keys_omitted, bool wrap,
                 const Style& style, int depth);

void append_element(std::string& out, std::string_view name, const std::string* text,
                    const Style& style) {
  out += '<';
  out += name;
  out += '>';
  if (text != nullptr) append_text(out, *text, style);
  out += "</";
  out += name;
  out += '>';
}

void append_value(std::string& out, const KvValue& value, const Style& style, int depth) {
  append_line_start(out, style, depth);
  switch (value.type()) {
    case KV_EMPTY_ARRAY:
      out += "<array/>";
      break;
    case KV_STRING:
      append_element(out, "string", value.text(), style);
      break;
    case KV_DATE: {
      std::string text = value.date() != nullptr ? te_abbrtime_to_te_date_string(*value.date())
                         : value.text() != nullptr ? *value.text()
                                                   : std::string();
      append_element(out, "date", &text, style);
      break;
    }
    case KV_INTEGER: {
      std::string text = value.integer() ? std::to_string(*value.integer())
                         : value.text() != nullptr
                             ? std::to_string(te_integer_string_to_int(*value.text()))
                             : std::string("0");
      append_element(out, "integer", &text, style);
      break;
    }
    case KV_REAL:
      append_element(out, "real", value.text(), style);
      break;
    case KV_TRUE:
      out += "<true/>";
      break;
    case KV_FALSE:
      out += "<false/>";
      break;
    case KV_DICT:
      if (value.list()->empty()) {
        out += "<dict/>";
      } else {
        out += "<dict>";
        append_list(out, *value.list(), false, false, style, inner_depth(depth));
        append_line_start(out, style, depth);
        out += "</dict>";
      }
      break;
    case KV_DICT_ARRAY:
    case KV_VALUE_ARRAY: {
      bool empty = value.type() == KV_DICT_ARRAY ? value.dicts()->empty() : value.list()->empty();
      if (empty) {
        out += "<array/>";
        break;
      }
      out += "<array>";
      if (value.type() == KV_DICT_ARRAY) {
        for (const KvList& dict : *value.dicts()) {
          append_list(out, dict, false, true, style, inner_depth(depth));
        }
      } else {
        append_list(out, *value.list(), true, false, style, inner_depth(depth));
      }
      append_line_start(out, style, depth);
      out += "</array>";
      break;
    }
    default:  // data, and whatever else a list may hold, is kept as data
      append_element(out, "data", value.text(), style);
      break;
  }
}

void append_list(std::string& out, const KvList& list, bool keys_omitted, bool wrap,
                 const Style& style, int depth) {
  if (wrap) {
    append_line_start(out, style, depth);
    out += "<dict>";
  }
  int entry_depth = wrap ? inner_depth(depth) : depth;
  for (const KvElement& e : list) {
    if (!keys_omitted) {
      append_line_start(out, style, entry_depth);
      // Keys are escaped like any text: a key holding "<" must not end the document.
      append_element(out, "key", &e.key, style);
    }
    append_value(out, e.value, style, entry_depth);
  }
  if (wrap) {
    append_line_start(out, style, depth);
    out += "</dict>";
  }
}

}  // namespace

std::string te_kvlist_value_to_string(const KvValue& value, bool newline, int depth) {
  std::string out;
  append_value(out, value, Style{newline}, depth);
  return out;
}

std::string te_kvlist_to_xml_string(const KvList& list, bool keys_omitted, bool wrap,
                                    bool newline, int depth) {
  std::string out;
  te_kvlist_append_xml(out, list, keys_omitted, wrap, newline, depth);
  return out;
}

void te_kvlist_append_xml(std::string& out, const KvList& list, bool keys_omitted, bool wrap,
                          bool newline, int depth) {
  append_list(out, list, keys_omitted, wrap, Style{newline}, depth);
}

std::string te_plist_to_xml_string(const std::vector<KvList>& dicts, bool newline, int depth) {
  std::string out;
  for (const KvList& dict : dicts) append_list(out, dict, false, true, Style{newline}, depth);
  return out;
}

std::string te_kvlist_to_plist_document(const KvList& list) {
  std::string out(kPlistDocumentHeader);
  out += "\n<dict>";
  append_list(out, list, false, false, Style{true}, 1);
  out += "\n</dict>\n</plist>\n";
  return out;
}

void te_dump_kvlist(std::string& out, const KvList& list, int file_type) {
  const char* name = te_kvlist_type_to_xml_name(file_type);
  out += '<';
  out += name;
  out += "><dict>";
  append_list(out, list, false, false, Style{false, true}, 0);
  out += "</dict></";
  out += name;
  out += '>';
}

}  // namespace tolvan
