#include "presenters/library_window/export_flows.h"

#include <optional>
#include <string>

#include "core/safe_save.h"
#include "engine/macros/textexpander_codes.h"
#include "import/native_import_export.h"
#include "import/te_export.h"
#include "library/main_list_file.h"

namespace tolvan {
namespace {

void offer_to_apply(TransferContext& ctx) {
  if (ctx.pending.has_unapplied_changes() && ctx.prompts.yes_no(kSaveBeforeExportQuestion)) {
    ctx.pending.apply_changes();
  }
}

// The target file. The dialog asks before an existing file is replaced and, when the user
// declines, stays open with the chosen name; cancelling gives nothing.
std::optional<std::string> ask_target(TransferContext& ctx, const char* title,
                                      const char* filter, const char* extension,
                                      const std::string& suggested_name) {
  SaveFileRequest request;
  request.title = title;
  request.filters = {{filter, {std::string("*.") + extension}}};
  request.initial_path = suggested_name + "." + extension;
  request.default_extension = extension;
  return ctx.dialogs.browse_for_save_file_name(request);
}

void report(TransferContext& ctx, const Status& written, const std::string& path) {
  if (written) ctx.prompts.info(export_success_message(path));
  else ctx.prompts.error(written.error());
}

}  // namespace

bool export_abbrevs(TransferContext& ctx, const Folder* folder, bool html) {
  offer_to_apply(ctx);
  if (!folder) folder = abbr_get_absolute_parent_folder(ctx.library.main_list);
  if (!folder) return false;
  const std::optional<std::string> path =
      ask_target(ctx, "Export abbreviations to...", html ? "HTML Files" : "Tolvan Abbreviation Files",
                 html ? "html" : "tlv", export_suggested_name(*folder));
  if (!path) return false;
  const Status written = export_abbrevs_to_file(*folder, *path, html);
  report(ctx, written, *path);
  return bool(written);
}

bool export_te_snippets(TransferContext& ctx, const Folder* folder) {
  const bool whole_library = folder == nullptr;
  std::string suggested;
  if (whole_library) {
    offer_to_apply(ctx);
    folder = abbr_get_absolute_parent_folder(ctx.library.main_list);
    suggested = "Settings";
  } else {
    suggested = folder == abbr_get_absolute_parent_folder(ctx.library.sandbox)
                    ? "My Tolvan Abbreviations"
                    : folder->name;
  }
  const std::optional<std::string> path = ask_target(
      ctx, "Export snippets to...", "TextExpander Snippet Files", "textexpander", suggested);
  if (!path) return false;

  TeExportOptions options;
  options.defaults = main_list_load_options(ctx.prefs).defaults;
  options.now = ctx.now();
  options.to_te_macros = tolvan_macros_to_te_macros;
  const TePreferences prefs = te_preferences_from(ctx.prefs);
  Status written = Status::success();
  ctx.runner.run(kTeExportTitle, kTeExportTitle, [&](const WorkRunner::Say&) {
    // The copy the file is built from is taken under the lock the keyboard engine reads by.
    auto lock = ctx.library.lock_main_list();
    Result<std::string> text = whole_library ? te_settings_file_text(folder, prefs, options)
                                             : te_group_file_text(folder, options);
    written = text ? safe_save_file(*path, *text) : Status(Error{text.error()});
  });
  if (!written) {
    written = Error{"Error exporting snippet file to temporary file '" + *path +
                    "': " + written.error() + ".\n"};
  }
  report(ctx, written, *path);
  return bool(written);
}

}  // namespace tolvan
