// FileDialogs: the open, save and folder dialogs, as the windows ask for them. The desktop's
// own dialogs implement it; tests answer with a double. Also the rules for where a dialog
// starts and what its answer becomes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/prompts.h"

namespace tolvan {

struct FileFilter {
  std::string name;                   // "Tolvan abbreviation files"
  std::vector<std::string> patterns;  // "*.tlv"
};

struct OpenFileRequest {
  std::string title;
  std::vector<FileFilter> filters;
  std::string initial_path;  // a file to preselect, or a folder to start in
};

struct SaveFileRequest {
  std::string title;
  std::vector<FileFilter> filters;
  std::string initial_path;       // the name to propose, or a folder to start in
  std::string initial_folder;     // where to start when the path names no folder
  std::string default_extension;  // without the dot; added to a name typed without one
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // browse_for_file: the chosen file, or nullopt when the user cancelled.
  virtual std::optional<std::string> browse_for_file(const OpenFileRequest& request) = 0;
  // browse_for_save_file_name: the name to save under (replacing a file there was agreed).
  virtual std::optional<std::string> browse_for_save_file_name(
      const SaveFileRequest& request) = 0;
  // browse_for_folder: the chosen folder, the real one when a symbolic link was chosen.
  virtual std::optional<std::string> browse_for_folder(const std::string& title,
                                                       const std::string& initial_folder) = 0;
};

// Where a dialog opens: an initial path that names a folder becomes the folder and
// proposes no name; for an open dialog (`must_exist`) a path that is neither folder nor
// file proposes nothing.
struct DialogStart {
  std::string folder;  // "" for the dialog's own choice
  std::string name;    // full path of the file to propose, "" for none

  friend bool operator==(const DialogStart&, const DialogStart&) = default;
};
DialogStart file_dialog_start(const std::string& initial_path,
                              const std::string& initial_folder, bool must_exist);

// `path` with "." and `extension` added when its file name has no extension.
std::string with_default_extension(const std::string& path, std::string_view extension);

// The end of a save dialog: `ask_name` shows the dialog (nullopt when cancelled); a name
// typed without an extension gets the default one, and when that completed name is an
// existing file the user is asked before it is used, else the dialog is shown again.
std::optional<std::string> save_file_name_flow(
    const std::function<std::optional<std::string>()>& ask_name,
    std::string_view default_extension, Prompts& prompts);

// A chosen folder that is a symbolic link gives the folder it leads to.
std::string folder_link_target(const std::string& folder);

}  // namespace tolvan
