// Import and export of Tolvan's own files: a file read into the sandbox (replacing the
// library or joining it), and the library or one folder written as a Tolvan file or as an
// HTML listing. The questions are asked through callbacks, so the windows and tolvan-cli
// ask them in their own way.
#pragma once

#include <functional>
#include <string>

#include "core/result.h"
#include "import/import_mode.h"
#include "library/library.h"

namespace tolvan {

struct NativeImportResult {
  ImportMode mode = ImportMode::Cancel;  // Append for a file of one folder
  Folder* folder = nullptr;              // the imported folder in the sandbox
};

// import_abbrevs without dialogs: loads the file; a root without a name is named after the
// file; for a whole library `ask_mode` decides (Cancel leaves the sandbox as it was); a
// file of one folder is appended without asking. Replace with a file whose root is itself
// an absolute parent ("All Abbreviations / Folders") makes that root the sandbox's top.
// Fails with "Error attempting to load the abbreviations from the selected file.".
Result<NativeImportResult> import_abbrevs_from_file(Library& library, const std::string& path,
                                                    const std::function<ImportMode()>& ask_mode);

// "My Abbreviations" for the absolute parent, else the folder's name.
std::string export_suggested_name(const Folder& folder);

// Writes the folder (the whole library when it has no parent, marked as one) through the
// safe save, as a Tolvan file or, with `html`, as the HTML listing with its subfolders.
// Fails with "Error exporting abbreviations to temporary file '%s': %s.".
Status export_abbrevs_to_file(const Folder& folder, const std::string& path, bool html);
// "Successfully exported abbreviations to '%s'."
std::string export_success_message(const std::string& path);

}  // namespace tolvan
