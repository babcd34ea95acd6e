// FolderEditorPresenter: the "Add Folder" / "Edit Folder Details" window without its
// widgets: what it shows for the folder selected in the main window, when OK may be
// pressed, and what OK does (TextExpander mode puts every new folder at the top level).
#pragma once

#include <string>
#include <vector>

#include "library/model.h"
#include "presenters/hotkey_row.h"
#include "presenters/library_window/folder_editor_host.h"

namespace tolvan {

enum class FolderEditorMode { Add, Edit };

// One row of the parent combo: the folder tree, depth first.
struct FolderChoice {
  Folder* folder;
  int depth;  // 0 for the absolute parent
};

inline constexpr const char* kFolderHotkeyTooltip =
    "Pressing this hotkey will pop-up a context menu with a list of all folders and "
    "abbreviations inside this folder, allowing you to choose from the list which "
    "abbreviation you'd like to insert into the foreground application.";

struct FolderEditorContents {
  std::string title;         // "Add Folder" / "Edit Folder Details"
  std::string name;          // "New Folder" (all selected) when adding
  std::string parent_label;  // "Create _in:" / "Parent folder:"
  std::vector<FolderChoice> parents;
  int parent_index = 0;
  bool parent_sensitive = true;  // only when adding
  bool parent_row_shown = true;  // not in TextExpander mode
  bool hotkey_row_shown = false;  // when editing (not the absolute parent in TextExpander mode)
  bool hotkey_enabled = false;
  HotkeyRow hotkey;
};

class FolderEditorPresenter {
 public:
  // `selected` is the main window's selected folder (nullptr for none); `top_level` asks for
  // a new folder at the top level whatever is selected.
  FolderEditorPresenter(FolderEditorHost& host, FolderList& sandbox, FolderEditorMode mode,
                        Folder* selected, bool top_level, bool te_mode);

  const FolderEditorContents& contents() const { return contents_; }
  static bool ok_sensitive(const std::string& name) { return !name.empty(); }

  // OK with the window's values; false (nothing done) when the name is empty.
  bool ok(const std::string& name, int parent_index, bool hotkey_enabled, const HotkeyRow& hotkey);

 private:
  FolderEditorHost& host_;
  FolderEditorMode mode_;
  Folder* edited_ = nullptr;
  bool te_mode_;
  FolderEditorContents contents_;
};

}  // namespace tolvan
