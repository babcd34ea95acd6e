// MainWindowPresenter: the main window's behaviour without its toolkit. The library's
// unapplied-changes flag (the Apply button's sensitivity), Apply / OK / Cancel in their
// order of steps, the sensitivities that follow the folder selection, the window's
// geometry and pane positions, the folders remembered between starts, the folder tree's
// sort and the title.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/backups.h"
#include "presenters/pending_changes.h"

namespace tolvan {

inline constexpr const char* kDiscardChangesQuestion =
    "Really discard all of your unsaved changes?";
inline constexpr const char* kApplyLabel = "A_pply";
inline constexpr const char* kApplyLabelMarkedUp = "<span foreground=\"navy\"><b>A_pply</b></span>";

// What the presenter asks of the window.
class MainWindowView {
 public:
  virtual ~MainWindowView() = default;
  // Sensitivity and label of Apply (the navy label while sensitive).
  virtual void show_apply_sensitive(bool sensitive) = 0;
  // The selected folder (the first one when several are), or nullptr.
  virtual const Folder* selected_folder() const = 0;
  // Hides into the tray.
  virtual void hide_to_tray() = 0;
  // Fills the folder tree afresh from the sandbox (and restores the remembered folders).
  virtual void rebuild_from_sandbox() = 0;
  // Selects the last selected folder again and focuses the folder tree.
  virtual void reselect_folder() = 0;
  virtual void clear_list_selection() = 0;
  virtual void scroll_views_to_top() = 0;
};

// The steps of Apply that belong to other parts of the program.
class ApplySteps {
 public:
  virtual ~ApplySteps() = default;
  // Writes the shared-folder sync file when that sync is on; false when Apply must stop.
  virtual bool sync_before_apply() = 0;
  // The folders' menu hotkeys follow the sandbox that is about to be applied.
  virtual void register_sandbox_folder_hotkeys() = 0;
  // The library file was saved: in own-format sync it is the sync file, whose new time is
  // this computer's own write.
  virtual void library_saved() {}
};

// The controls that follow the folder selection.
struct FolderSensitivities {
  bool delete_folder = false;  // a folder other than the All row is selected
  bool folder_actions = false;  // edit folder, new abbreviation or launcher, list, search
  friend bool operator==(const FolderSensitivities&, const FolderSensitivities&) = default;
};
FolderSensitivities folder_sensitivities(size_t selected_folders, bool all_row_selected);

struct WindowRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The geometry the window gets before it is first shown.
struct InitialGeometry {
  std::optional<std::pair<int, int>> position;
  std::optional<std::pair<int, int>> size;
  bool maximized = false;
};

enum class Pane { Folders, Abbreviations };  // f_pos, a_pos

// Which folders the tree restores: expanded rows and the selection.
struct FolderRestore {
  std::vector<uint32_t> expanded;  // uids
  enum class Select { FirstRow, Folder, Nothing } select = Select::FirstRow;
  uint32_t folder_uid = 0;  // for Select::Folder
  friend bool operator==(const FolderRestore&, const FolderRestore&) = default;
};

class MainWindowPresenter final : public PendingChanges {
 public:
  MainWindowPresenter(MainWindowView& view, ApplySteps& steps, BackupContext ctx);

  static std::string title(bool portable_mode);

  // The unapplied-changes flag.
  bool dirty() const { return dirty_; }
  void mark_unapplied() { set_dirty(true); }

  // Apply: sync, folder hotkeys, flush, save, backup. False when nothing was saved.
  bool apply();
  void ok();
  void cancel();
  // A fresh sandbox from the main list (unless `first_time`), the views refilled, clean.
  void reset(bool first_time);
  // Hides into the tray, remembering the selected folder.
  void send_to_tray();

  // PendingChanges
  bool has_unapplied_changes() const override { return dirty_; }
  bool apply_changes() override { return apply(); }

  // Geometry: each configure event while shown, each maximise change, and the start.
  void window_configured(const WindowRect& rect, int screen_width, int screen_height,
                         bool maximized);
  void window_maximized(bool maximized);
  InitialGeometry initial_geometry() const;
  void pane_moved(Pane pane, int position);
  std::optional<int> pane_position(Pane pane) const;

  // Remembered folders.
  FolderRestore folders_to_restore();
  void remember_selected_folder(const Folder* selected);
  void remember_expanded_folders(const std::vector<const Folder*>& expanded);

  // The folder tree's sort.
  bool folders_sorted_descending() const;
  void remember_folder_sort(bool descending);

 private:
  void set_dirty(bool dirty);
  std::string position_of(const Folder& folder) const;

  MainWindowView& view_;
  ApplySteps& steps_;
  BackupContext ctx_;
  bool dirty_ = false;
};

}  // namespace tolvan
