// Reading the abbreviation file with Expat: the preparation of the text (escape characters
// and characters XML 1.0 forbids), the element handlers shared by the main-list load and
// the import load, and the import load itself.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"
#include "library/model.h"
#include "library/uids.h"

namespace tolvan {

// Replaces each raw escape character (27) by "&#33;", removes every character XML 1.0 does
// not allow (all but tab, LF, CR, U+0020-U+D7FF, U+E000-U+FFFD, U+10000-U+10FFFF) and
// replaces each byte that does not begin valid UTF-8 by U+FFFD, so that damaged text still
// parses.
std::string abbr_prepare_text_for_parser(std::string_view raw);

// The document's root element is Tolvan (or, in files written by hand, a lone folder f).
enum class LoadMode {
  MainList,  // the root becomes a new absolute parent (a root f: a folder inside one)
  Import,    // the root is a folder made from its own attributes: the result
};

struct ParseOptions {
  LoadMode mode = LoadMode::Import;
  AbbrTime default_time;  // for abbreviations without x or y
  ModeDefaults defaults;  // for case and trigger modes out of range
};

struct ParseError {
  std::string message;  // Expat's error string
  unsigned long line = 0;
  long byte = 0;
};

// What one parse built; on a parse error, everything read before it.
struct ParsedLibrary {
  FolderList top;       // the list: the absolute parent or the imported root, if any
  bool marker = false;  // the root element carries an attribute m
  std::string te_errors;  // TextExpander data errors, each followed by two line feeds
  std::optional<ParseError> error;
};

// Parses prepared text (see abbr_prepare_text_for_parser) in one final call.
ParsedLibrary abbr_parse_library_text(std::string_view prepared, UidCounter& uids,
                                      const ParseOptions& options);

// Reads a whole file; the error is the system's text.
Result<std::string> abbr_read_library_file(const std::string& path);
// Reads the rest of an open file.
Result<std::string> abbr_read_open_file(std::FILE* file);

// Import mode: a new free-standing tree built from the file's root element.
struct ImportedLibrary {
  std::unique_ptr<Folder> root;
  bool marker = false;  // the root carries the whole-library marker m
};
// The default time of abbreviations without times is the file's last-write time, or the
// current time with `use_current_time`.
Result<ImportedLibrary> abbr_load_abbreviations_from_file(const std::string& path,
                                                          UidCounter& uids,
                                                          bool use_current_time,
                                                          const ModeDefaults& defaults = {});

// The file's last-write time as local time; the current time when it cannot be read.
AbbrTime abbr_file_time_or_now(const std::string& path);

}  // namespace tolvan
