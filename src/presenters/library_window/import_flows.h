// The main window's imports in their order of steps and questions: a TextExpander file
// (read on the runner's worker, then joined to the sandbox), an exported Tolvan file and
// an included set. Nothing reaches the main list: the user applies the sandbox.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "import/te_import.h"
#include "presenters/library_window/transfer_context.h"

namespace tolvan {

inline constexpr const char* kSwitchToTeModeQuestion =
    "Switch to TextExpander Mode before importing (recommended)?";
inline constexpr const char* kImportTePreferencesQuestion =
    "Import preferences from TextExpander (recommended)?";
inline constexpr const char* kTeImportTitle = "Importing TextExpander Snippets...";

// import_te_snippets: asks for a file when none is given (none chosen: Imported, nothing
// done). Failed, Missing and Empty are told in a box and leave the sandbox as it was.
TeImportResult import_te_snippets(TransferContext& ctx, std::optional<std::string> path);

// import_abbrevs: asks for a file when none is given. False when nothing was imported
// (no file, a file that does not load, Cancel).
bool import_abbrevs(TransferContext& ctx, std::optional<std::string> path);

// import_included_set from a menu: no question, the set joins the sandbox.
bool import_included_set(TransferContext& ctx, const std::string& name);

// The set a menu action imports ("ImportTypo" -> "Typo AutoCorrections"); "" for none.
std::string included_set_of_action(std::string_view action);

}  // namespace tolvan
