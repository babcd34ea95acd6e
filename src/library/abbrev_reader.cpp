// Reading the abbreviation file with Expat.
#include "library/abbrev_reader.h"

#include <expat.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/strings.h"
#include "core/utf.h"
#include "library/abbrev_strings.h"
#include "library/folder_tree.h"
#include "library/messages.h"
#include "textexpander/plist_reader.h"
#include "textexpander/plist_text.h"
#include "textexpander/plist_values.h"

namespace tolvan {
namespace {

// Single-letter attribute and element names, compared without ASCII case.
bool is_name(const XML_Char* name, char letter) {
  return (name[0] | 0x20) == letter && name[1] == '\0';
}

int to_int(const XML_Char* value) { return std::atoi(value); }
uint8_t to_byte(const XML_Char* value) { return static_cast<uint8_t>(std::atoi(value)); }

enum class Open { Folder, Abbrev };

// TextExpander data being rebuilt as text, for the property-list reader.
struct Capture {
  std::optional<KvList>* slot = nullptr;
  std::string text;
  int depth = 0;  // elements open inside the data element
};

class Handlers {
 public:
  Handlers(UidCounter& uids, const ParseOptions& options, ParsedLibrary& out)
      : uids_(uids), options_(options), out_(out) {}

  void start(const XML_Char* name, const XML_Char** atts) {
    const bool document_root = !started_;
    started_ = true;
    if (skip_depth_ > 0) {
      ++skip_depth_;
      return;
    }
    if (capture_) return capture_start_tag(name, atts);
    if (std::optional<KvList>* slot = te_slot(name)) return begin_capture(slot);
    if (equals_ignore_case(name, "Tolvan")) {
      // Only the document's root element is the library; any other one is skipped.
      if (!document_root) return skip();
      start_root(atts, false);
    } else if (is_name(name, 'f')) {
      if (document_root) return start_root(atts, true);
      start_folder(atts);
    } else if (name[1] == '\0' && abbrev_type(name[0]) >= 0) {
      if (folders_.empty()) return skip();
      start_abbrev(static_cast<AbbrType>(abbrev_type(name[0])), atts);
    } else {
      skip();
    }
  }

  void end(const XML_Char* name) {
    if (skip_depth_ > 0) {
      --skip_depth_;
      return;
    }
    if (capture_) return capture_end_tag(name);
    if (open_.empty()) return;
    if (open_.back() == Open::Folder) {
      folders_.pop_back();
    } else {
      abbrevs_.pop_back();
    }
    open_.pop_back();
  }

  // Character data outside TextExpander data is ignored.
  void text(const XML_Char* s, int len) {
    if (capture_ && skip_depth_ == 0) {
      te_htmlize_append(capture_->text, std::string_view(s, static_cast<size_t>(len)));
    }
  }

 private:
  static int abbrev_type(char c) {
    switch (c | 0x20) {
      case 'a': return ABBR_TYPE_TEXT;
      case 'p': return ABBR_TYPE_PROGRAM;
      case 'w': return ABBR_TYPE_WEBSITE;
      case 'u': return ABBR_TYPE_UNSUPPORTED;
      default: return -1;
    }
  }

  void skip() { skip_depth_ = 1; }

  // The slot a TextExpander data element fills: the innermost abbreviation's or, outside
  // abbreviations, the innermost folder's. Null for other elements and for data that has
  // no slot where it stands (those are skipped).
  std::optional<KvList>* te_slot(const XML_Char* name) {
    const int type = te_xml_name_to_te_type(name);
    if (type < 0 || open_.empty()) return nullptr;
    if (open_.back() == Open::Abbrev) {
      Abbreviation& a = *abbrevs_.back();
      if (type == TE_KV_GENERAL) return &a.te_general;
      if (type == TE_KV_ABBREV_SPECIFIC) return &a.te_abbrev_specific;
      return nullptr;
    }
    Folder& f = *folders_.back();
    if (type == TE_KV_GENERAL) return &f.te_general;
    if (type == TE_KV_GROUP_SETTINGS) return &f.te_group_settings;
    if (type == TE_KV_FOLDER_SPECIFIC) return &f.te_folder_specific;
    return nullptr;
  }

  void begin_capture(std::optional<KvList>* slot) {
    capture_.emplace();
    capture_->slot = slot;
  }

  void capture_start_tag(const XML_Char* name, const XML_Char** atts) {
    std::string& t = capture_->text;
    t += '<';
    t += name;
    for (; atts[0] != nullptr; atts += 2) {
      t += ' ';
      t += atts[0];
      t += "=\"";
      t += atts[1];
      t += '"';
    }
    t += '>';
    ++capture_->depth;
  }

  void capture_end_tag(const XML_Char* name) {
    if (capture_->depth > 0) {
      --capture_->depth;
      capture_->text += "</";
      capture_->text += name;
      capture_->text += '>';
      return;
    }
    Result<KvList> list = te_importer_handle_snippet_file_data(capture_->text, false);
    if (list) {
      te_kvlist_convert_strings_to_data(*list, abbr_time_now());
      *capture_->slot = std::move(*list);
    } else {
      out_.te_errors += list.error();
      out_.te_errors += "\n\n";
    }
    capture_.reset();
  }

  static void read_folder_attributes(Folder& folder, const XML_Char** atts) {
    for (; atts[0] != nullptr; atts += 2) {
      const XML_Char* name = atts[0];
      const XML_Char* value = atts[1];
      if (is_name(name, 'n')) folder.name = value;
      else if (is_name(name, 't')) folder.te_group = to_byte(value);
      else if (is_name(name, 'd')) folder.disabled = to_byte(value);
      else if (is_name(name, 'e')) folder.menu_hotkey_enabled = to_byte(value);
      else if (is_name(name, 'h')) folder.menu_hotkey = value;
    }
  }

  // The root element: Tolvan, or a lone folder element f, which in main-list mode becomes
  // a folder inside a new absolute parent so that the list still begins with one.
  void start_root(const XML_Char** atts, bool folder_element) {
    for (const XML_Char** a = atts; a[0] != nullptr; a += 2) {
      if (is_name(a[0], 'm')) out_.marker = true;
    }
    if (options_.mode == LoadMode::MainList) {
      out_.top.push_back(abbr_create_absolute_parent_folder(uids_));
      if (!folder_element) return push_folder(out_.top.back().get());
      auto folder = std::make_unique<Folder>();
      folder->uid = uids_.take();
      read_folder_attributes(*folder, atts);
      push_folder(&abbr_add_subfolder_to_folder(*out_.top.back(), std::move(folder)));
      return;
    }
    auto root = std::make_unique<Folder>();
    root->uid = uids_.take();
    read_folder_attributes(*root, atts);
    out_.top.push_back(std::move(root));
    push_folder(out_.top.back().get());
  }

  void start_folder(const XML_Char** atts) {
    auto folder = std::make_unique<Folder>();
    folder->uid = uids_.take();
    read_folder_attributes(*folder, atts);
    push_folder(&abbr_add_subfolder_to_folder(*folders_.back(), std::move(folder)));
  }

  void start_abbrev(AbbrType type, const XML_Char** atts) {
    auto abbrev = std::make_unique<Abbreviation>();
    abbrev->set_type(type);
    bool has_created = false, has_modified = false;
    for (; atts[0] != nullptr; atts += 2) {
      const XML_Char* name = atts[0];
      const XML_Char* value = atts[1];
      if (name[0] == '\0' || name[1] != '\0') continue;
      switch (name[0] | 0x20) {
        case 'a': abbrev->abbreviations = abbr_get_lst_of_abbrevs_from_string(value); break;
        case 'd': abbrev->description = value; break;
        case 'c': abbrev->case_mode = to_int(value); break;
        case 't': abbrev->trigger_mode = to_int(value); break;
        case 'r': abbrev->anywhere = to_byte(value); break;
        case 'x':
          abbrev->created = abbr_time_str_to_abbrtime(value);
          has_created = true;
          break;
        case 'y':
          abbrev->modified = abbr_time_str_to_abbrtime(value);
          has_modified = true;
          break;
        default: read_type_attribute(*abbrev, name[0] | 0x20, value);
      }
    }
    if (!has_created) abbrev->created = options_.default_time;
    if (!has_modified) abbrev->modified = options_.default_time;
    abbr_repair_modes(*abbrev, options_.defaults);
    Abbreviation& linked = abbr_add_abbrev_to_folder(*folders_.back(), std::move(abbrev));
    abbrevs_.push_back(&linked);
    open_.push_back(Open::Abbrev);
  }

  static void read_type_attribute(Abbreviation& abbrev, int letter, const XML_Char* value) {
    switch (abbrev.type()) {
      case ABBR_TYPE_TEXT:
        if (letter == 'e') abbrev.expansion() = value;
        break;
      case ABBR_TYPE_PROGRAM: {
        ProgInfo& p = abbrev.program();
        if (letter == 'p') p.location = value;
        else if (letter == 'm') p.parameters = value;
        else if (letter == 'i') p.run_in = value;
        else if (letter == 's') p.show_mode = to_byte(value);
        else if (letter == 'n') p.run_as_admin = to_byte(value);
        break;
      }
      case ABBR_TYPE_WEBSITE:
        if (letter == 'u') abbrev.website().address = value;
        else if (letter == 'b') abbrev.website().browser = value;
        break;
      default: break;
    }
  }

  void push_folder(Folder* folder) {
    folders_.push_back(folder);
    open_.push_back(Open::Folder);
  }

  UidCounter& uids_;
  const ParseOptions& options_;
  ParsedLibrary& out_;
  bool started_ = false;
  int skip_depth_ = 0;
  std::optional<Capture> capture_;
  std::vector<Open> open_;
  std::vector<Folder*> folders_;
  std::vector<Abbreviation*> abbrevs_;
};

void XMLCALL on_start(void* data, const XML_Char* name, const XML_Char** atts) {
  static_cast<Handlers*>(data)->start(name, atts);
}
void XMLCALL on_end(void* data, const XML_Char* name) { static_cast<Handlers*>(data)->end(name); }
void XMLCALL on_text(void* data, const XML_Char* s, int len) {
  static_cast<Handlers*>(data)->text(s, len);
}

std::string errno_text(int err) { return std::strerror(err); }

}  // namespace

std::string abbr_prepare_text_for_parser(std::string_view raw) {
  std::string out;
  out.reserve(raw.size() + raw.size() / 64);
  const auto* p = reinterpret_cast<const unsigned char*>(raw.data());
  const size_t n = raw.size();
  size_t i = 0;
  while (i < n) {
    // Runs of ordinary ASCII are copied in one go.
    size_t run = i;
    while (run < n && p[run] >= 0x20 && p[run] < 0x80) ++run;
    if (run > i) {
      out.append(raw.data() + i, run - i);
      i = run;
      continue;
    }
    // Outside a run: an ASCII control character (a zero byte too) or the first byte of a
    // longer character.
    std::optional<Utf8Char> c = p[i] < 0x80 ? Utf8Char{p[i], 1} : utf8_char_at(raw, i);
    if (!c) {
      out += "\xEF\xBF\xBD";  // U+FFFD for a byte that begins no character
      ++i;
      continue;
    }
    if (c->value == 0x1B) {
      out += "&#33;";
    } else if (xml_char_allowed(c->value)) {
      out.append(raw.data() + i, c->length);
    }
    i += c->length;
  }
  return out;
}

ParsedLibrary abbr_parse_library_text(std::string_view prepared, UidCounter& uids,
                                      const ParseOptions& options) {
  ParsedLibrary out;
  Handlers handlers(uids, options, out);
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &handlers);
  XML_SetElementHandler(parser, on_start, on_end);
  XML_SetCharacterDataHandler(parser, on_text);
  if (XML_Parse(parser, prepared.data(), static_cast<int>(prepared.size()), XML_TRUE) ==
      XML_STATUS_ERROR) {
    ParseError error;
    error.message = XML_ErrorString(XML_GetErrorCode(parser));
    error.line = XML_GetCurrentLineNumber(parser);
    error.byte = static_cast<long>(XML_GetCurrentByteIndex(parser));
    out.error = std::move(error);
  }
  XML_ParserFree(parser);
  return out;
}

Result<std::string> abbr_read_open_file(std::FILE* file) {
  std::string text;
  char buf[1 << 16];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, file)) > 0) text.append(buf, n);
  if (std::ferror(file)) return Error{errno_text(errno)};
  return text;
}

Result<std::string> abbr_read_library_file(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return Error{errno_text(errno)};
  Result<std::string> text = abbr_read_open_file(file);
  std::fclose(file);
  return text;
}

AbbrTime abbr_file_time_or_now(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return abbr_time_now();
  return abbr_time_from_unix(st.st_mtime);
}

Result<ImportedLibrary> abbr_load_abbreviations_from_file(const std::string& path,
                                                          UidCounter& uids,
                                                          bool use_current_time,
                                                          const ModeDefaults& defaults) {
  if (path.empty()) return Error{"Filename is blank."};
  auto text = abbr_read_library_file(path);
  if (!text) return Error{text.error()};

  ParseOptions options;
  options.mode = LoadMode::Import;
  options.default_time = use_current_time ? abbr_time_now() : abbr_file_time_or_now(path);
  options.defaults = defaults;
  ParsedLibrary parsed = abbr_parse_library_text(abbr_prepare_text_for_parser(*text), uids,
                                                 options);
  if (parsed.error) {
    return Error{"Malformed file at line " + std::to_string(parsed.error->line) + " (byte " +
                 std::to_string(parsed.error->byte) + "): " + parsed.error->message};
  }
  if (!parsed.te_errors.empty()) {
    return Error{
        "Some errors were found while importing the TextExpander XML data: " +
        parsed.te_errors +
        "\n\nThis is likely due to someone manually modifying the abbreviation file.\n\n"
        "Your abbreviations should work just fine, but if you have TextExpander sync "
        "enabled, or plan on exporting your abbreviations to TextExpander, we recommend "
        "re-importing / re-syncing your TextExpander snippets from TextExpander again "
        "before doing so.\n\n" +
        std::string(kReportToSupportLine)};
  }
  if (parsed.top.empty()) return Error{"The file holds no Tolvan library."};
  ImportedLibrary imported;
  imported.root = std::move(parsed.top.front());
  imported.marker = parsed.marker;
  return imported;
}

}  // namespace tolvan
