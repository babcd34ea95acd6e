// The joined abbreviation string, folder paths and display strings.
#include "library/abbrev_strings.h"

namespace tolvan {

std::string abbr_abbrev_lst_to_string(const std::vector<std::string>& abbreviations) {
  std::string out;
  for (size_t i = 0; i < abbreviations.size(); ++i) {
    if (i > 0) out += '|';
    for (char c : abbreviations[i]) {
      if (c == '|') out += '|';
      out += c;
    }
  }
  return out;
}

std::vector<std::string> abbr_get_lst_of_abbrevs_from_string(std::string_view s) {
  std::vector<std::string> out;
  std::string current;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '|') {
      current += s[i];
    } else if (i + 1 < s.size() && s[i + 1] == '|') {
      current += '|';
      ++i;
    } else {
      if (!current.empty()) out.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) out.push_back(std::move(current));
  return out;
}

std::string abbr_get_full_folder_path_string(const Folder& folder, const Folder* stop_at,
                                             bool spaced) {
  const char* separator = spaced ? " \\ " : "\\";
  std::string path = folder.name;
  for (const Folder* up = folder.parent; up != nullptr; up = up->parent) {
    if (up->parent == nullptr || up == stop_at || up->name.empty()) break;
    path = up->name + separator + path;
  }
  return path;
}

std::string abbr_get_containing_folder_string(const Abbreviation& abbrev, bool full_path,
                                              bool markup) {
  if (abbrev.folder == nullptr) return {};
  std::string text = full_path ? abbr_get_full_folder_path_string(*abbrev.folder, nullptr, false)
                               : abbrev.folder->name;
  if (markup) text = "<span foreground=\"blue\">" + text + "</span>";
  return text;
}

std::string abbr_abbrev_exp_to_display_string(const Abbreviation& abbrev) {
  switch (abbrev.type()) {
    case ABBR_TYPE_TEXT: return abbrev.expansion();
    case ABBR_TYPE_PROGRAM: return abbrev.program().location;
    case ABBR_TYPE_WEBSITE: return abbrev.website().address;
    default: return abbr_te_snippet_kind(abbrev);
  }
}

std::string abbr_te_snippet_kind(const Abbreviation& abbrev) {
  if (!abbrev.te_general) return "Unknown";
  const KvList& snippet = *abbrev.te_general;
  if (kvlist_get_from_key(snippet, "richText") || kvlist_get_from_key(snippet, "cachedPNGImage")) {
    return "Formatted text / pictures";
  }
  const KvValue* type = kvlist_lookup_value(snippet, "snippetType");
  std::optional<int32_t> n = type ? type->integer() : std::nullopt;
  if (!n) return "Unknown";
  switch (*n) {
    case 0: return "Plain text";
    case 1: return "Formatted text / pictures";
    case 2: return "AppleScript";
    case 3: return "Shell script";
    case 4: return "JavaScript";
    case 5: return "Formatted text (HTML)";
    default: return "Unknown";
  }
}

std::string abbr_replacement_preview(const Abbreviation& abbrev) {
  switch (abbrev.type()) {
    case ABBR_TYPE_TEXT: {
      const std::string& text = abbrev.expansion();
      size_t lf = text.find('\n');
      std::string line;
      for (char c : std::string_view(text).substr(0, lf)) {
        if (c != '\r') line += c;
      }
      if (lf != std::string::npos) line += "...";
      return line;
    }
    case ABBR_TYPE_PROGRAM:
    case ABBR_TYPE_WEBSITE: {
      std::string target = abbr_abbrev_exp_to_display_string(abbrev);
      return target.empty() ? std::string() : "Launch " + target;
    }
    default: {
      std::string kind = abbr_te_snippet_kind(abbrev);
      if (kind == "Unknown") return "(This snippet type is not yet supported in Tolvan.)";
      return "(" + kind + " snippets are not yet supported in Tolvan.)";
    }
  }
}

}  // namespace tolvan
