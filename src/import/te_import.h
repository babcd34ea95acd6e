// TextExpander import: a settings file (TextExpander's whole library) or a group file
// (one exported group, also as .tedist) turned into folders and abbreviations that keep
// every dictionary they were read from. The conversion touches no library, so it can run
// on a worker thread; adding its result to the library is a separate step for the thread
// that owns the library.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/abbrtime.h"
#include "core/result.h"
#include "library/library.h"
#include "library/model.h"
#include "textexpander/kvlist.h"

namespace tolvan {

enum class TeImportStage { Loading = 0, Verifying = 1, Importing = 2, Done = 3 };

// The progress bar's text of a stage.
const char* te_import_stage_text(TeImportStage stage);

// Uuids already in the library, compared without regard to case (te_uuid_key).
struct TeUuidsInUse {
  std::set<std::string> groups;
  std::set<std::string> snippets;
};

// te_get_all_existing_snippet_uuids: the group uuids of the folders' and the snippet uuids
// of the abbreviations' general TextExpander data, everywhere in the list.
TeUuidsInUse te_get_all_existing_uuids(const FolderList& list);

struct TeImportOptions {
  std::string file_name;  // the file's name without folder and extension
  ModeDefaults defaults;  // for missing or unknown case and trigger modes
  AbbrTime now;           // for dates that cannot be read and snippets without dates
  TeUuidsInUse existing;
  // Told each stage as the import reaches it (from the thread that runs it); may be empty.
  std::function<void(TeImportStage)> progress;
};

struct TeImport {
  bool group_file = false;
  // The groups as folders, in file order; uids are given when they join a library.
  std::vector<std::unique_ptr<Folder>> folders;
  // Snippets that no group lists: they belong directly to the library's top folder.
  std::vector<std::unique_ptr<Abbreviation>> loose;
  // A settings file's own dictionary (TextExpander's preferences and every other key),
  // without its groups, snippets and product-specific data.
  std::optional<KvList> settings;

  size_t abbreviation_count() const;
};

// The whole import of a file's contents. The messages are those of the property-list
// reader, of the verification and "No snippet groups found." / "No snippets found.".
Result<TeImport> te_import_snippet_file_data(std::string_view data,
                                             const TeImportOptions& options);

// Where the messages send a user who needs help.
extern const char* const kTeSupportAddress;
// What an empty file or an import of nothing says.
extern const std::string kTeNoSnippetsMessage;

enum class TeImportResult { Imported = 0, Failed = 1, Missing = 2, Empty = 3 };

struct TeFileImport {
  TeImportResult result = TeImportResult::Failed;
  std::string message;            // the bare reason when not imported
  std::optional<TeImport> import;  // when imported
};

// Reads the file and imports it (options.file_name is taken from the path). A file that
// does not exist is Missing, one that cannot be opened or read Failed ("Unable to open
// TextExpander snippet file %s for reading: %s", "Error reading snippet file %s: %s"), an
// empty one Empty.
TeFileImport te_import_snippet_file(const std::string& path, TeImportOptions options);

// The message shown for a failed import: "Error importing TextExpander snippet file %s:
// %s" with the help line.
std::string te_import_error_message(const std::string& path, const std::string& reason);

// The file's name without folder and extension ("Work" for ".../Work.textexpander").
std::string te_import_file_stem(std::string_view path);

}  // namespace tolvan
