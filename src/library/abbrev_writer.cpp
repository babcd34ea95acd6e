// Writing the abbreviation file.
#include "library/abbrev_writer.h"

#include <cstring>

#include "core/paths.h"
#include "core/safe_save.h"
#include "library/abbrev_strings.h"
#include "textexpander/plist_writer.h"

namespace tolvan {
namespace {

void append_int(std::string& out, long value) { out += std::to_string(value); }

void attr(std::string& out, const char* name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  abbr_htmlize_append(out, value);
  out += '"';
}

void attr_int(std::string& out, const char* name, long value) {
  out += ' ';
  out += name;
  out += "=\"";
  append_int(out, value);
  out += '"';
}

void attr_time(std::string& out, const char* name, const AbbrTime& t) {
  out += ' ';
  out += name;
  out += "=\"";
  out += abbr_time_to_hex_string(t);
  out += '"';
}

const char* element_name(AbbrType type) {
  switch (type) {
    case ABBR_TYPE_TEXT: return "a";
    case ABBR_TYPE_PROGRAM: return "p";
    case ABBR_TYPE_WEBSITE: return "w";
    default: return "u";
  }
}

}  // namespace

// One pass that gives the same text as applying the escaping table's replacements one
// after another in its order (no replacement produces text a later one would match).
void abbr_htmlize_append(std::string& out, std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\r':
        if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
        out += "&#10;";
        break;
      case '\n': out += "&#10;"; break;
      case '\t': out += "&#9;"; break;
      case '"': out += "&quot;"; break;
      case '\x1b': out += "&#33;"; break;
      default: out += c;
    }
  }
}

std::string abbr_htmlize(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  abbr_htmlize_append(out, s);
  return out;
}

namespace {

void dump_te_data(std::string& out, const std::optional<KvList>& slot, int file_type) {
  if (te_data_present(slot)) te_dump_kvlist(out, *slot, file_type);
}

}  // namespace

void abbr_dump_abbrev_to_string(const Abbreviation& a, std::string& out) {
  const char* name = element_name(a.type());
  out += '<';
  out += name;
  attr(out, "a", abbr_abbrev_lst_to_string(a.abbreviations));
  attr(out, "d", a.description);
  switch (a.type()) {
    case ABBR_TYPE_TEXT:
      attr(out, "e", a.expansion());
      attr_int(out, "c", a.case_mode);
      attr_int(out, "t", a.trigger_mode);
      attr_int(out, "r", a.anywhere);
      break;
    case ABBR_TYPE_PROGRAM: {
      const ProgInfo& p = a.program();
      attr(out, "p", p.location);
      attr_int(out, "c", a.case_mode);
      attr_int(out, "t", a.trigger_mode);
      attr_int(out, "r", a.anywhere);
      attr(out, "m", p.parameters);
      attr(out, "i", p.run_in);
      attr_int(out, "s", p.show_mode);
      attr_int(out, "n", p.run_as_admin);
      break;
    }
    case ABBR_TYPE_WEBSITE:
      attr_int(out, "c", a.case_mode);
      attr_int(out, "t", a.trigger_mode);
      attr_int(out, "r", a.anywhere);
      attr(out, "u", a.website().address);
      attr(out, "b", a.website().browser);
      break;
    default:
      attr_int(out, "c", a.case_mode);
      attr_int(out, "t", a.trigger_mode);
      attr_int(out, "r", a.anywhere);
      break;
  }
  attr_time(out, "x", a.created);
  attr_time(out, "y", a.modified);
  if (!te_data_present(a.te_general) && !te_data_present(a.te_abbrev_specific)) {
    out += "/>";
    return;
  }
  out += '>';
  dump_te_data(out, a.te_general, TE_KV_GENERAL);
  dump_te_data(out, a.te_abbrev_specific, TE_KV_ABBREV_SPECIFIC);
  out += "</";
  out += name;
  out += '>';
}

void abbr_dump_all_subfolders_and_abbrevs_as_XML(const Folder& folder, std::string& out,
                                                 bool root, bool marker) {
  const char* name = root ? "Tolvan" : "f";
  out += '<';
  out += name;
  attr(out, "n", folder.name);
  attr_int(out, "t", folder.te_group);
  attr_int(out, "d", folder.disabled);
  if (folder.menu_hotkey_enabled) out += " e=\"1\" ";
  // The hotkey is digits and spaces; escaping it changes nothing then, and keeps a
  // hand-edited value from breaking the file.
  if (folder.menu_hotkey) attr(out, "h", *folder.menu_hotkey);
  if (root && marker) out += " m=\"1\"";
  out += '>';
  dump_te_data(out, folder.te_general, TE_KV_GENERAL);
  dump_te_data(out, folder.te_group_settings, TE_KV_GROUP_SETTINGS);
  dump_te_data(out, folder.te_folder_specific, TE_KV_FOLDER_SPECIFIC);
  for (const auto& sub : folder.subfolders) {
    abbr_dump_all_subfolders_and_abbrevs_as_XML(*sub, out, false, false);
  }
  for (const auto& abbrev : folder.abbreviations) abbr_dump_abbrev_to_string(*abbrev, out);
  out += "</";
  out += name;
  out += '>';
}

std::string abbr_folder_list_to_xml(const FolderList& list, bool marker) {
  std::string out;
  for (size_t i = 0; i < list.size(); ++i) {
    abbr_dump_all_subfolders_and_abbrevs_as_XML(*list[i], out, i == 0, marker);
  }
  return out;
}

Status abbr_write_folder_list_file(const FolderList& list, const std::string& path,
                                   bool marker) {
  // Every list has its absolute parent; an empty one would write an empty library.
  if (list.empty()) return Error{"Folder is blank."};
  std::string folder = parse_out_directory(path);
  if (folder != path && !folder.empty()) mkdir_p(folder);
  return safe_save_file(path, abbr_folder_list_to_xml(list, marker));
}

}  // namespace tolvan
