// A FolderEditorHost that records what the folder editor asked of the main window.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "presenters/library_window/folder_editor_host.h"

namespace tolvan::testing {

class RecordingFolderHost final : public FolderEditorHost {
 public:
  std::vector<std::pair<Folder*, std::string>> added;
  std::vector<Folder*> modified;
  void add_folder_to_folder(Folder& parent, const std::string& name) override { added.emplace_back(&parent, name); }
  void folder_modified(Folder& folder) override { modified.push_back(&folder); }
};

}  // namespace tolvan::testing
