// Finding and classifying the tags of a property list.
#include "textexpander/plist_tags.h"

#include "core/strings.h"

namespace tolvan {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

struct NamedType {
  std::string_view name;
  KvType code;
};

constexpr NamedType kElementNames[] = {
    {"key", KV_KEY},         {"array", KV_EMPTY_ARRAY}, {"string", KV_STRING},
    {"data", KV_DATA},       {"date", KV_DATE},         {"integer", KV_INTEGER},
    {"real", KV_REAL},       {"dict", KV_DICT_ELEMENT}, {"true", KV_TRUE},
    {"false", KV_FALSE},
};

}  // namespace

KvType te_el_name_to_type(std::string_view name) {
  for (const NamedType& n : kElementNames) {
    if (equals_ignore_case(name, n.name)) return n.code;
  }
  return KV_UNKNOWN;
}

std::optional<PlistTag> te_next_tag(std::string_view text, std::size_t from) {
  std::size_t open = text.find('<', from);
  if (open == std::string_view::npos) return std::nullopt;
  std::size_t close = text.find('>', open + 1);
  std::size_t end = close == std::string_view::npos ? text.size() : close + 1;

  PlistTag tag;
  tag.text = text.substr(open, end - open);
  tag.end = end;

  // The inside of the tag, without "<" and ">".
  std::string_view inner = tag.text.substr(1);
  bool terminated = close != std::string_view::npos;
  if (terminated) inner.remove_suffix(1);

  std::size_t p = 0;
  while (p < inner.size() && is_blank(inner[p])) ++p;
  bool closing = p < inner.size() && inner[p] == '/';
  if (closing) ++p;
  std::size_t name_end = inner.find('/', p);
  if (name_end == std::string_view::npos) name_end = inner.size();
  std::string_view name = inner.substr(p, name_end - p);
  // Blanks before the end of the tag do not belong to the name (as in "<true />").
  while (!name.empty() && is_blank(name.back())) name.remove_suffix(1);
  tag.code = te_el_name_to_type(name);

  std::string_view rest = inner.substr(name_end);
  if (!terminated) {
    tag.kind = TAG_MALFORMED;
  } else if (closing) {
    tag.kind = rest.empty() ? TAG_CLOSE : TAG_MALFORMED;
  } else if (rest.empty()) {
    tag.kind = TAG_OPEN;
  } else {
    tag.kind = rest == "/" ? TAG_EMPTY : TAG_MALFORMED;
  }
  return tag;
}

}  // namespace tolvan
