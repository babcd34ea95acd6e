#include "import/native_import_export.h"

#include "core/safe_save.h"
#include "core/strings.h"
#include "library/abbrev_reader.h"
#include "library/abbrev_writer.h"
#include "library/folder_tree.h"
#include "library/html_listing.h"

namespace tolvan {
namespace {

std::string name_without_tlv(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.size() > 4 && equals_ignore_case(std::string_view(name).substr(name.size() - 4), ".tlv")) {
    name.resize(name.size() - 4);
  }
  return name;
}

}  // namespace

Result<NativeImportResult> import_abbrevs_from_file(Library& library, const std::string& path,
                                                    const std::function<ImportMode()>& ask_mode) {
  Result<ImportedLibrary> loaded = abbr_load_abbreviations_from_file(path, library.uids, false);
  if (!loaded) return Error{"Error attempting to load the abbreviations from the selected file."};
  std::unique_ptr<Folder> root = std::move(loaded->root);
  if (root->name.empty()) root->name = name_without_tlv(path);

  NativeImportResult out;
  out.mode = loaded->marker ? ask_mode() : ImportMode::Append;
  if (out.mode == ImportMode::Cancel) return out;
  if (out.mode == ImportMode::Replace) {
    abbr_free_folder_list(library, SANDBOX);
    if (equals_ignore_case(root->name, kAbsoluteParentName)) {
      root->parent = nullptr;
      out.folder = &abbr_insert_folder_in_list(library.sandbox, std::move(root), -1);
      return out;
    }
  }
  Folder& top = abbr_ensure_absolute_parent(library.sandbox, library.uids);
  out.folder = &abbr_add_subfolder_to_folder(top, std::move(root));
  return out;
}

std::string export_suggested_name(const Folder& folder) {
  return equals_ignore_case(folder.name, kAbsoluteParentName) ? "My Abbreviations" : folder.name;
}

Status export_abbrevs_to_file(const Folder& folder, const std::string& path, bool html) {
  Status written = Status::success();
  if (html) {
    written = safe_save_file(path, abbr_folder_as_HTML(folder, true));
  } else {
    std::string xml;
    abbr_dump_all_subfolders_and_abbrevs_as_XML(folder, xml, true, folder.parent == nullptr);
    written = safe_save_file(path, xml);
  }
  if (!written) {
    return Error{"Error exporting abbreviations to temporary file '" + path + "': " +
                 written.error() + "."};
  }
  return Status::success();
}

std::string export_success_message(const std::string& path) {
  return "Successfully exported abbreviations to '" + path + "'.";
}

}  // namespace tolvan
