// FolderEditorHost: what the folder editor asks of the main window. The window owns the
// folder tree's rows and the library's uids, so it creates new folders and refreshes rows.
#pragma once

#include <string>

namespace tolvan {

class Folder;

class FolderEditorHost {
 public:
  virtual ~FolderEditorHost() = default;
  // Creates a folder named `name` under `parent` in the sandbox, appends its row under the
  // parent's row (expanded, with the cursor on the new row) and marks the library changed.
  virtual void add_folder_to_folder(Folder& parent, const std::string& name) = 0;
  // The folder's name or pop-up hotkey changed: refresh its row, re-register nothing yet
  // (Apply does), tell TextExpander mode, and mark the library changed.
  virtual void folder_modified(Folder& folder) = 0;
};

}  // namespace tolvan
