#include "presenters/library_window/folder_editor_presenter.h"

#include <algorithm>

namespace tolvan {
namespace {

void add_choices(std::vector<FolderChoice>& out, Folder& folder, int depth) {
  out.push_back({&folder, depth});
  for (auto& sub : folder.subfolders) add_choices(out, *sub, depth + 1);
}

int index_of(const std::vector<FolderChoice>& choices, const Folder* folder) {
  auto it = std::find_if(choices.begin(), choices.end(), [&](const FolderChoice& c) { return c.folder == folder; });
  return it == choices.end() ? 0 : static_cast<int>(it - choices.begin());
}

}  // namespace

FolderEditorPresenter::FolderEditorPresenter(FolderEditorHost& host, FolderList& sandbox,
                                             FolderEditorMode mode, Folder* selected, bool top_level,
                                             bool te_mode)
    : host_(host), mode_(mode), te_mode_(te_mode) {
  FolderEditorContents& c = contents_;
  for (auto& top : sandbox) add_choices(c.parents, *top, 0);
  const bool adding = mode == FolderEditorMode::Add;
  c.title = adding ? "Add Folder" : "Edit Folder Details";
  c.parent_label = adding ? "Create _in:" : "Parent folder:";
  c.parent_sensitive = adding;
  c.parent_row_shown = !te_mode;
  if (adding) {
    c.name = "New Folder";
    if (!top_level && selected) c.parent_index = index_of(c.parents, selected);
    return;
  }
  edited_ = selected;
  if (!edited_) return;
  c.name = edited_->name;
  c.parent_index = edited_->parent ? index_of(c.parents, edited_->parent) : 0;
  const bool absolute_parent = edited_->parent == nullptr;
  c.hotkey_row_shown = !(te_mode && absolute_parent);
  if (!absolute_parent) {
    c.hotkey = hotkey_row_from_string(edited_->menu_hotkey.value_or(""));
    c.hotkey_enabled = edited_->menu_hotkey_enabled != 0;
  }
}

bool FolderEditorPresenter::ok(const std::string& name, int parent_index, bool hotkey_enabled,
                               const HotkeyRow& hotkey) {
  if (!ok_sensitive(name)) return false;
  if (mode_ == FolderEditorMode::Add) {
    // TextExpander has one level of groups: new folders go to the top, whatever was chosen.
    if (te_mode_ || parent_index < 0 || parent_index >= static_cast<int>(contents_.parents.size())) parent_index = 0;
    host_.add_folder_to_folder(*contents_.parents[static_cast<size_t>(parent_index)].folder, name);
    return true;
  }
  if (!edited_) return false;
  edited_->name = name;
  edited_->menu_hotkey = hotkey_row_string(hotkey);
  edited_->menu_hotkey_enabled = hotkey_enabled ? 1 : 0;
  host_.folder_modified(*edited_);
  return true;
}

}  // namespace tolvan
