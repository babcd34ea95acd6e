// Reading property lists: elements are found by scanning tags (plist_tags.h), dictionaries
// and arrays are parsed inside the element's own text. Everything works on views into the
// caller's text; only keys and values are copied out.
#include "textexpander/plist_reader.h"

#include <optional>
#include <string>

#include "core/strings.h"
#include "textexpander/plist_tags.h"
#include "textexpander/plist_text.h"

namespace tolvan {
namespace {

// Hostile documents could nest until the stack runs out; real ones nest a few levels.
constexpr int kMaxNesting = 64;

constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
constexpr std::string_view kDoctypes[] = {
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">",
    "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">",
};
constexpr std::string_view kPlistOpen = "<plist version=\"1.0\">";

// One element found by te_xml_extract_block: its whole text (from its open tag to the end
// of its closing tag, or the single tag of an empty or closing element).
struct Block {
  std::string_view text;
  std::size_t end = 0;  // offset just past the element in the scanned text
  KvType code = KV_NONE;
  TagKind kind = TAG_MALFORMED;  // of its first tag
};

Error unknown_element(std::string_view tag) {
  std::string shown(tag.substr(0, 20));
  if (tag.size() > 20) shown += "...";
  return Error{"Unknown element " + shown + " found."};
}

// The next element of code `wanted` (KV_ANY: of whatever code the first tag has) at or
// after `from`; nullopt when the text ends first.
Result<std::optional<Block>> te_xml_extract_block(std::string_view text, std::size_t from,
                                                  KvType wanted) {
  std::size_t start = 0;
  int depth = 0;
  Block block;
  std::size_t pos = from;
  while (std::optional<PlistTag> tag = te_next_tag(text, pos)) {
    pos = tag->end;
    if (tag->code == KV_NONE || tag->code == KV_UNKNOWN) return unknown_element(tag->text);
    if (wanted == KV_ANY && depth == 0) wanted = tag->code;
    if (tag->code != wanted) continue;
    std::size_t tag_start = static_cast<std::size_t>(tag->text.data() - text.data());
    if (tag->kind == TAG_MALFORMED) {
      return Error{"Found unknown element type " + std::to_string(tag->code)};
    }
    if (depth == 0) {
      block.code = tag->code;
      block.kind = tag->kind;
      if (tag->kind == TAG_EMPTY || tag->kind == TAG_CLOSE) {
        block.text = tag->text;
        block.end = tag->end;
        return std::optional<Block>(block);
      }
      start = tag_start;
      depth = 1;
      continue;
    }
    if (tag->kind == TAG_OPEN) {
      ++depth;
    } else if (tag->kind == TAG_CLOSE && --depth == 0) {
      block.text = text.substr(start, tag->end - start);
      block.end = tag->end;
      return std::optional<Block>(block);
    }
  }
  return std::optional<Block>();
}

// Like te_xml_extract_block for a named element, where a closing tag met first is an error.
Result<std::optional<Block>> extract_named(std::string_view text, std::size_t from,
                                           KvType wanted) {
  auto block = te_xml_extract_block(text, from, wanted);
  if (block.ok() && *block && (*block)->kind == TAG_CLOSE) {
    return Error{"Found closing element " + std::to_string(wanted) + ", expected open."};
  }
  return block;
}

// The content of a plain element: the text between its open tag and the next "<",
// character references decoded.
std::string te_extract_data_from_element(const Block& element) {
  if (element.code == KV_TRUE) return "true";
  if (element.code == KV_FALSE) return "false";
  if (element.kind == TAG_EMPTY) return {};
  std::size_t open_end = element.text.find('>');
  std::string_view rest = element.text.substr(open_end + 1);
  return te_decode_text(rest.substr(0, rest.find('<')));
}

bool is_plain_value(KvType code) {
  switch (code) {
    case KV_STRING: case KV_DATA: case KV_DATE: case KV_INTEGER:
    case KV_REAL: case KV_TRUE: case KV_FALSE:
      return true;
    default:
      return false;
  }
}

// Where the inside of an element begins: just past its open tag.
std::size_t inner_start(const Block& element) { return element.text.find('>') + 1; }

Result<KvList> te_process_dict_block(const Block& dict, int nesting);

Result<KvValue> te_process_array_block(const Block& array, int nesting) {
  if (array.kind == TAG_EMPTY) return KvValue::empty_array();
  std::vector<KvList> dicts;
  KvList values;
  std::size_t pos = inner_start(array);
  while (true) {
    auto next = te_xml_extract_block(array.text, pos, KV_ANY);
    if (!next.ok()) return Error{next.error()};
    if (!*next) break;
    const Block& item = **next;
    pos = item.end;
    if (item.kind == TAG_CLOSE) {
      if (item.code == KV_EMPTY_ARRAY) break;  // the array's own end
      return Error{"Found " + std::to_string(item.kind) + " tag, expected open (" +
                   std::to_string(TAG_OPEN) + ") tag."};
    }
    if (item.code == KV_DICT_ELEMENT) {
      if (!values.empty()) return Error{"Mixed array found (dict instead of data)."};
      auto dict = te_process_dict_block(item, nesting + 1);
      if (!dict.ok()) return Error{dict.error()};
      dicts.push_back(std::move(*dict));
    } else if (is_plain_value(item.code)) {
      if (!dicts.empty()) {
        return Error{"Mixed array found (data " + std::to_string(item.code) +
                     " instead of dict)."};
      }
      kvlist_append(values, "",
                    KvValue::of_text(item.code, te_extract_data_from_element(item)), true);
    } else if (item.code == KV_EMPTY_ARRAY) {
      return Error{"An array inside an array is not supported."};
    } else {
      return Error{"Found unknown element type " + std::to_string(item.code) +
                   " in <array>."};
    }
  }
  if (!dicts.empty()) return KvValue::of_dicts(std::move(dicts));
  if (!values.empty()) return KvValue::of_values(std::move(values));
  return KvValue::empty_array();
}

Result<KvValue> value_of(const Block& element, int nesting) {
  if (element.code == KV_EMPTY_ARRAY) return te_process_array_block(element, nesting);
  if (element.code == KV_DICT_ELEMENT) {
    auto dict = te_process_dict_block(element, nesting + 1);
    if (!dict.ok()) return Error{dict.error()};
    return KvValue::of_dict(std::move(*dict));
  }
  if (is_plain_value(element.code)) {
    return KvValue::of_text(element.code, te_extract_data_from_element(element));
  }
  return Error{"Found unknown element type " + std::to_string(element.code) +
               " below <key>."};
}

Result<KvList> te_process_dict_block(const Block& dict, int nesting) {
  if (nesting > kMaxNesting) {
    return Error{"The property list nests deeper than " + std::to_string(kMaxNesting) +
                 " levels."};
  }
  KvList list;
  if (dict.kind == TAG_EMPTY) return list;
  std::size_t pos = inner_start(dict);
  while (true) {
    auto key = te_xml_extract_block(dict.text, pos, KV_ANY);
    if (!key.ok()) return Error{key.error()};
    if (!*key) break;
    if ((*key)->code == KV_DICT_ELEMENT && (*key)->kind == TAG_CLOSE) break;
    // "<key/>" never comes from TextExpander, but it plainly means an empty key.
    if ((*key)->code != KV_KEY || (*key)->kind == TAG_CLOSE) {
      return Error{"Expected element type " + std::to_string(KV_KEY) + ", instead got " +
                   std::to_string((*key)->code) + "."};
    }
    pos = (*key)->end;
    auto element = te_xml_extract_block(dict.text, pos, KV_ANY);
    if (!element.ok()) return Error{element.error()};
    KvType last_seen = *element ? (*element)->code : KV_KEY;
    if (!*element || (*element)->kind == TAG_CLOSE) {
      return Error{"Expected data element after <key> but found nothing (" +
                   std::to_string(last_seen) + ")."};
    }
    pos = (*element)->end;
    auto value = value_of(**element, nesting);
    if (!value.ok()) return Error{value.error()};
    kvlist_append(list, te_extract_data_from_element(**key), std::move(*value));
  }
  return list;
}

}  // namespace

std::size_t te_plist_header_length(std::string_view text) {
  for (std::string_view newline : {std::string_view("\n"), std::string_view("\r\n")}) {
    for (std::string_view doctype : kDoctypes) {
      std::string header;
      header.append(kXmlDeclaration).append(newline).append(doctype).append(newline);
      header.append(kPlistOpen);
      if (text.size() >= header.size() &&
          equals_ignore_case(text.substr(0, header.size()), header)) {
        return header.size();
      }
    }
  }
  return 0;
}

Result<KvList> te_importer_handle_snippet_file_data(std::string_view text,
                                                    bool header_expected) {
  if (header_expected) {
    std::size_t header = te_plist_header_length(text);
    if (header == 0) return Error{"Header validation failed."};
    text.remove_prefix(header);
  }
  auto dict = extract_named(text, 0, KV_DICT_ELEMENT);
  if (!dict.ok()) return Error{dict.error()};
  if (!*dict) return Error{"The property list ends before its dictionary is complete."};
  return te_process_dict_block(**dict, 0);
}

}  // namespace tolvan
