// The main window's exports in their order of steps and questions: the library or one
// folder as a Tolvan file or an HTML listing, or in TextExpander's format (the library as
// a settings file, a folder as a group file, written on the runner's worker).
#pragma once

#include "presenters/library_window/transfer_context.h"

namespace tolvan {

inline constexpr const char* kSaveBeforeExportQuestion = "Save changes before exporting?";
inline constexpr const char* kTeExportTitle = "Exporting TextExpander snippets...";

// export_abbrevs_win: `folder` null exports the applied library. True when a file was
// written.
bool export_abbrevs(TransferContext& ctx, const Folder* folder, bool html);

// export_te_snippets: `folder` null writes the applied library as a settings file, a
// folder a group file. True when a file was written.
bool export_te_snippets(TransferContext& ctx, const Folder* folder);

}  // namespace tolvan
