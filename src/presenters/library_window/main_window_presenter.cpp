#include "presenters/library_window/main_window_presenter.h"

#include <charconv>

#include "library/lookups.h"
#include "library/main_list_file.h"

namespace tolvan {
namespace {

const char* pane_key(Pane pane) { return pane == Pane::Folders ? "f_pos" : "a_pos"; }

std::optional<uint32_t> parse_uid(std::string_view text) {
  uint32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return {};
  return value;
}

}  // namespace

FolderSensitivities folder_sensitivities(size_t selected_folders, bool all_row_selected) {
  return {selected_folders > (all_row_selected ? 1u : 0u), selected_folders > 0};
}

MainWindowPresenter::MainWindowPresenter(MainWindowView& view, ApplySteps& steps,
                                         BackupContext ctx)
    : view_(view), steps_(steps), ctx_(std::move(ctx)) {}

std::string MainWindowPresenter::title(bool portable_mode) {
  return portable_mode ? "Tolvan (Portable Mode)" : "Tolvan";
}

void MainWindowPresenter::set_dirty(bool dirty) {
  dirty_ = dirty;
  view_.show_apply_sensitive(dirty);
}

bool MainWindowPresenter::apply() {
  if (!steps_.sync_before_apply()) return false;
  steps_.register_sandbox_folder_hotkeys();
  abbr_flush_sandbox_to_main(ctx_.library);
  Status saved = abbr_save_library(ctx_.library, ctx_.gvar.get("abbreviations_file"), &ctx_.prompts);
  if (!saved) {
    set_dirty(true);
    return false;
  }
  steps_.library_saved();
  set_dirty(false);
  backup_create_new(ctx_, false);
  return true;
}

void MainWindowPresenter::ok() {
  if (dirty_) apply();
  send_to_tray();
  view_.clear_list_selection();
}

void MainWindowPresenter::cancel() {
  const bool was_dirty = dirty_;
  if (was_dirty && ctx_.prefs.get_int("dont_ask_cancel") == 0) {
    Prompts::AskAgainAnswer answer =
        ctx_.prompts.yes_no_ask_again(kDiscardChangesQuestion, PromptKind::Question, false);
    ctx_.prefs.set_int("dont_ask_cancel", answer.dont_show_again ? 1 : 0);
    if (!answer.yes) return;
  }
  send_to_tray();
  if (was_dirty) reset(false);
  else view_.reselect_folder();
  view_.scroll_views_to_top();
}

void MainWindowPresenter::reset(bool first_time) {
  if (!first_time) abbr_create_sandbox(ctx_.library);
  view_.rebuild_from_sandbox();
  set_dirty(false);
}

void MainWindowPresenter::send_to_tray() {
  remember_selected_folder(view_.selected_folder());
  view_.hide_to_tray();
}

void MainWindowPresenter::window_configured(const WindowRect& rect, int screen_width,
                                            int screen_height, bool maximized) {
  if (maximized || ctx_.prefs.get_int("win_maximized") != 0) return;
  if (rect.x > screen_width || rect.y > screen_height || rect.x + rect.width < 0 ||
      rect.y + rect.height < 0) {
    return;  // off the screen: the last place the user could see is kept
  }
  ctx_.prefs.set_int("win_x", rect.x);
  ctx_.prefs.set_int("win_y", rect.y);
  ctx_.prefs.set_int("win_width", rect.width);
  ctx_.prefs.set_int("win_height", rect.height);
}

void MainWindowPresenter::window_maximized(bool maximized) {
  ctx_.prefs.set_int("win_maximized", maximized ? 1 : 0);
}

InitialGeometry MainWindowPresenter::initial_geometry() const {
  InitialGeometry g;
  if (!ctx_.prefs.get("win_x").empty() && !ctx_.prefs.get("win_y").empty()) {
    g.position = {ctx_.prefs.get_int("win_x"), ctx_.prefs.get_int("win_y")};
  }
  const int width = ctx_.prefs.get_int("win_width");
  const int height = ctx_.prefs.get_int("win_height");
  if (width > 0 && height > 0) g.size = {width, height};
  g.maximized = ctx_.prefs.get_int("win_maximized") != 0;
  return g;
}

void MainWindowPresenter::pane_moved(Pane pane, int position) {
  ctx_.prefs.set_int(pane_key(pane), position);
}

std::optional<int> MainWindowPresenter::pane_position(Pane pane) const {
  if (ctx_.prefs.get(pane_key(pane)).empty()) return std::nullopt;
  const int position = ctx_.prefs.get_int(pane_key(pane));
  if (position < 0) return std::nullopt;
  return position;
}

std::string MainWindowPresenter::position_of(const Folder& folder) const {
  long index = -1;
  abbr_folder_from_uid(ctx_.library.sandbox, folder.uid, &index);
  return std::to_string(index);
}

void MainWindowPresenter::remember_selected_folder(const Folder* selected) {
  ctx_.prefs.set("last_sel_folder", selected ? position_of(*selected) : "none");
}

void MainWindowPresenter::remember_expanded_folders(const std::vector<const Folder*>& expanded) {
  std::string value;
  for (const Folder* folder : expanded) value += position_of(*folder) + ",";
  ctx_.prefs.set("expanded_folders", value);
}

FolderRestore MainWindowPresenter::folders_to_restore() {
  FolderRestore restore;
  std::string_view list = ctx_.prefs.get("expanded_folders");
  while (!list.empty()) {
    size_t comma = list.find(',');
    if (auto uid = parse_uid(list.substr(0, comma))) restore.expanded.push_back(*uid);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  const bool remember = ctx_.prefs.get_int("remember_sel_folder") != 0;
  const std::string& last = ctx_.prefs.get("last_sel_folder");
  const bool starter_set = ctx_.prefs.get_int("lddex") == 1;
  ctx_.prefs.set_int("lddex", 0);
  std::optional<uint32_t> last_uid = parse_uid(last);
  if (starter_set) {
    restore.select = FolderRestore::Select::Folder;
    restore.folder_uid = 1;
  } else if (remember && last != "none" && last_uid) {
    restore.select = FolderRestore::Select::Folder;
    restore.folder_uid = *last_uid;
  } else if (remember && last == "none") {
    restore.select = FolderRestore::Select::Nothing;
  }
  return restore;
}

bool MainWindowPresenter::folders_sorted_descending() const {
  return ctx_.prefs.get("f_so") == "desc";
}

void MainWindowPresenter::remember_folder_sort(bool descending) {
  ctx_.prefs.set("f_sc", "f");
  ctx_.prefs.set("f_so", descending ? "desc" : "asc");
}

}  // namespace tolvan
