#include "presenters/library_window/import_flows.h"

#include <fstream>
#include <utility>
#include <vector>

#include "import/included_sets.h"
#include "import/native_import_export.h"
#include "import/te_import_library.h"
#include "import/te_mode.h"
#include "library/lookups.h"
#include "library/main_list_file.h"

namespace tolvan {
namespace {

OpenFileRequest te_open_request() {
  return {"Import TextExpander Snippets",
          {{"TextExpander Snippet Files (*.textexpander)", {"*.textexpander", "*.tedist"}}},
          ""};
}

OpenFileRequest own_open_request() {
  return {"Import Abbreviations", {{"Tolvan Abbreviation Files", {"*.tlv"}}}, ""};
}

// textexpander_mode_set_enabled for the import: the preference, both lists in the mode's
// shape, and the window's TextExpander elements.
void switch_textexpander_mode_on(TransferContext& ctx) {
  ctx.prefs.set_int("textexpander_mode", 1);
  te_reshape_list(ctx.library, MAIN_LIST);
  te_reshape_list(ctx.library, SANDBOX);
  ctx.target.textexpander_mode_switched_on();
}

// The sandbox in TextExpander mode's shape after an import; `folder` is what the window
// selects, unless reshaping took it away.
Folder* reshape_sandbox_for_mode(TransferContext& ctx, Folder* folder) {
  if (!te_mode_enabled(ctx.prefs) || !te_reshape_list(ctx.library, SANDBOX)) return folder;
  Folder* top = abbr_get_absolute_parent_folder(ctx.library.sandbox);
  if (!top) return nullptr;
  for (Folder* kept : abbr_get_all_folders_and_abbrevs_from_folder(*top).folders) {
    if (kept == folder) return folder;
  }
  return top;
}

// The answer for a settings file: the first TextExpander import never asks (and appends);
// the question in TextExpander's wording has no Cancel, so anything but Replace appends.
ImportMode te_import_mode(TransferContext& ctx) {
  if (!ctx.prefs.does_exist("imptebef")) {
    ctx.prefs.set_int("imptebef", 1);
    return ImportMode::Append;
  }
  return ctx.ask_import_mode(true) == ImportMode::Replace ? ImportMode::Replace
                                                           : ImportMode::Append;
}

void report_failure(TransferContext& ctx, const std::string& path, const TeFileImport& file) {
  if (file.result == TeImportResult::Empty) {
    ctx.prompts.info(file.message);
  } else if (file.result == TeImportResult::Missing || file.message.starts_with("Unable to open")) {
    ctx.prompts.error(file.message);
  } else {
    ctx.prompts.error(te_import_error_message(path, file.message));
  }
}

}  // namespace

TeImportResult import_te_snippets(TransferContext& ctx, std::optional<std::string> path) {
  if (!path) path = ctx.dialogs.browse_for_file(te_open_request());
  if (!path) return TeImportResult::Imported;
  // The mode question only makes sense for a file there is; the reader reports the rest.
  const bool readable = std::ifstream(*path, std::ios::binary).is_open();
  if (readable && !te_mode_enabled(ctx.prefs) && ctx.prompts.yes_no(kSwitchToTeModeQuestion)) {
    switch_textexpander_mode_on(ctx);
  }

  TeImportOptions options;
  options.defaults = main_list_load_options(ctx.prefs).defaults;
  options.now = ctx.now();
  options.existing = te_get_all_existing_uuids(ctx.library.sandbox);
  TeFileImport file;
  ctx.runner.run(kTeImportTitle, te_import_stage_text(TeImportStage::Loading),
                 [&](const WorkRunner::Say& say) {
                   options.progress = [&say](TeImportStage stage) {
                     say(te_import_stage_text(stage));
                   };
                   file = te_import_snippet_file(*path, std::move(options));
                 });
  if (file.result != TeImportResult::Imported) {
    report_failure(ctx, *path, file);
    return file.result;
  }

  TeImport& import = *file.import;
  const bool settings_file = !import.group_file;
  const ImportMode mode = settings_file ? te_import_mode(ctx) : ImportMode::Append;
  const bool take_preferences = settings_file && te_mode_enabled(ctx.prefs) &&
                                ctx.prompts.yes_no(kImportTePreferencesQuestion);
  if (take_preferences && import.settings) {
    te_take_over_preferences(ctx.prefs, *import.settings);
  } else {
    import.settings.reset();  // TextExpander's preferences stay behind with the file
  }

  std::vector<Folder*> added;
  const TeImportCounts counts = te_add_import_to_library(
      ctx.library, SANDBOX, std::move(import), mode, [&](Folder& f) { added.push_back(&f); });
  if (mode == ImportMode::Replace) ctx.target.sandbox_replaced();
  for (Folder*& folder : added) folder = reshape_sandbox_for_mode(ctx, folder);
  for (Folder* folder : added) {
    if (folder) ctx.target.folder_imported(*folder);
  }
  ctx.gvar.set_int("expabs", 1);
  ctx.prompts.info(te_import_report(counts));
  return TeImportResult::Imported;
}

bool import_abbrevs(TransferContext& ctx, std::optional<std::string> path) {
  if (!path) path = ctx.dialogs.browse_for_file(own_open_request());
  if (!path) return false;
  Result<NativeImportResult> imported = import_abbrevs_from_file(
      ctx.library, *path, [&] { return ctx.ask_import_mode(false); });
  if (!imported) {
    ctx.prompts.error(imported.error());
    return false;
  }
  if (imported->mode == ImportMode::Cancel) return false;
  if (imported->mode == ImportMode::Replace) ctx.target.sandbox_replaced();
  if (Folder* folder = reshape_sandbox_for_mode(ctx, imported->folder)) {
    ctx.target.folder_imported(*folder);
  }
  return true;
}

bool import_included_set(TransferContext& ctx, const std::string& name) {
  return import_included_set(ctx.library, ctx.gvar, ctx.prompts, name, false,
                             [&](Folder& folder) { ctx.target.folder_imported(folder); });
}

std::string included_set_of_action(std::string_view action) {
  static constexpr std::pair<std::string_view, const char*> kSets[] = {
      {"ImportExamples", kExamplesSet},
      {"ImportTypo", "Typo AutoCorrections"},
      {"ImportTidBITS", "TidBITSAutoCorrect"},
      {"ImportMT", "Medical Transcription"},
  };
  for (const auto& [name, set] : kSets) {
    if (name == action) return set;
  }
  return "";
}

}  // namespace tolvan
