// The main window's editing companions: the abbreviation editor under the list, the folder
// editor, the right-click menus of the folder tree and the list, and moving records and
// folders by dropping them on the folder tree.
#include <glibmm/main.h>

#include <algorithm>

#include "import/native_import_export.h"
#include "launch/hotkey_conflicts.h"
#include "library/folder_tree.h"
#include "presenters/library_window/drop_rules.h"
#include "ui/library_window/context_menu.h"
#include "ui/library_window/main_window.h"

namespace tolvan::ui {
namespace {

// Drags never leave the program: the dragged items are the source view's selection.
const std::vector<Gtk::TargetEntry> kDragTargets{Gtk::TargetEntry("DRAG_DATA", Gtk::TARGET_SAME_APP)};

// At the pointer for a click; from the keyboard (no event), over the view's middle.
void pop_up(Gtk::Menu& menu, Gtk::Widget& view, const GdkEvent* event) {
  if (event) menu.popup_at_pointer(event);
  else menu.popup_at_widget(&view, Gdk::GRAVITY_CENTER, Gdk::GRAVITY_NORTH_WEST, nullptr);
}

bool equals_ignoring_case(const std::string& a, const char* b) {
  return g_ascii_strcasecmp(a.c_str(), b) == 0;
}

}  // namespace

// ---------------------------------------------------------------- abbreviation editor

void MainWindow::build_editor() {
  BrowserList& browsers = ctx_.browsers ? *ctx_.browsers : default_browser_;
  EditorServices services = ctx_.editor_services;
  // Read at each edit: TextExpander mode sets and clears the library's hooks as it goes.
  services.model_hooks = [&library = ctx_.library] { return library.hooks; };
  editor_ = std::make_unique<AbbrevEditorView>(*this, ctx_.library.sandbox, ctx_.prefs, ctx_.file_dialogs,
                                               browsers, std::move(services));
  editor_->offer_run_as_administrator(ctx_.can_run_as_administrator);
  // The editor's widest row must not squeeze the folder tree: it scrolls sideways instead.
  editor_scroll_.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_NEVER);
  editor_scroll_.set_shadow_type(Gtk::SHADOW_NONE);
  editor_scroll_.add(*editor_);
  editor_frame_.add(editor_scroll_);
  editor_->signal_visibility_wanted().connect([this](bool on) { editor_frame_.set_visible(on); });
}

bool MainWindow::textexpander_mode() const { return ctx_.prefs.get_int("textexpander_mode") != 0; }

void MainWindow::view_mode_changed() {
  apply_view_mode();
  list_selection_changed();  // follows TextExpander mode
}

void MainWindow::follow_textexpander_mode() {
  const bool te_mode = textexpander_mode();
  if (te_mode_shown_ && *te_mode_shown_ == te_mode) return;
  te_mode_shown_ = te_mode;
  // The TidBITS set belongs to TextExpander mode; the Typo and example sets to the normal mode.
  menu_item("ImportTypo")->set_visible(!te_mode);
  menu_item("ImportExamples")->set_visible(!te_mode);
  menu_item("ImportTidBITS")->set_visible(te_mode);
  if (editor_) editor_->presenter().apply_look();
  connect_drag_and_drop();  // the folder tree takes no drops in TextExpander mode
  list_view_.queue_draw();  // the trigger signs come and go
}

// ---------------------------------------------------------------- folder editor

void MainWindow::new_folder(bool top_level) {
  std::vector<Folder*> selected = selected_folders();
  open_folder_editor(FolderEditorMode::Add, selected.empty() ? nullptr : selected.front(), top_level);
}

void MainWindow::edit_folder() {
  std::vector<Folder*> selected = selected_folders();
  if (!selected.empty()) open_folder_editor(FolderEditorMode::Edit, selected.front(), false);
}

void MainWindow::open_folder_editor(FolderEditorMode mode, Folder* selected, bool top_level) {
  if (folder_editor_ && folder_editor_->get_visible()) {
    folder_editor_->present();
    return;
  }
  folder_editor_ = std::make_unique<FolderEditorWindow>(*this, ctx_.library.sandbox, mode, selected, top_level,
                                                        textexpander_mode(), this);
  FolderEditorWindow* opened = folder_editor_.get();
  const Folder* edited = mode == FolderEditorMode::Edit ? selected : nullptr;
  folder_editor_->check_hotkey_conflicts([this, edited](const std::string& hotkey) {
    return hotkeys_get_names_of_others_with_same_combo(
        hotkey, nullptr, HotkeyConflictSources(ctx_.prefs, ctx_.library.sandbox, std::nullopt, edited));
  });
  folder_editor_->signal_done().connect([this, opened] {
    opened->hide();
    // The window is still inside its own button's handler.
    Glib::signal_idle().connect_once([this, opened] {
      if (folder_editor_.get() == opened) folder_editor_.reset();
    });
  });
}

void MainWindow::add_folder_to_folder(Folder& parent, const std::string& name) {
  Folder& folder = abbr_add_subfolder_to_folder(parent, abbr_new_subfolder_of(ctx_.library.uids, &parent, name));
  if (auto row = folder_row(&parent)) {
    Gtk::TreeModel::Row parent_row = **row;
    add_folder_rows(folder, &parent_row);
    folder_view_.expand_to_path(folder_store_->get_path(*row));
    folder_view_.expand_row(folder_store_->get_path(*row), false);
  }
  select_folder(&folder);
  if (auto row = folder_row(&folder)) folder_view_.scroll_to_row(folder_store_->get_path(*row));
  presenter_.mark_unapplied();
}

void MainWindow::folder_modified(Folder& folder) {
  if (ModelHooks* hooks = ctx_.library.hooks) hooks->folder_modified(folder);
  refresh_folder_row(folder);
  presenter_.mark_unapplied();
}

std::string MainWindow::folder_row_name(const Folder* folder) const {
  auto row = folder_row(folder);
  return row ? Glib::ustring((**row)[folder_columns_.name]).raw() : std::string();
}

void MainWindow::refresh_folder_row(const Folder& folder) {
  if (auto row = folder_row(&folder)) {
    (**row)[folder_columns_.name] = folder.name;
    folder_store_->row_changed(folder_store_->get_path(*row), *row);
  }
}

// ---------------------------------------------------------------- context menus

void MainWindow::connect_context_menus() {
  // A right press over a row opens the menu; it selects the row as a left press would,
  // unless the row is selected already (then several selected rows stay selected).
  auto on_press = [this](Gtk::TreeView& view, bool folders, GdkEventButton* event) {
    if (event->type != GDK_BUTTON_PRESS || event->button != 3) return false;
    Gtk::TreeModel::Path path;
    Gtk::TreeViewColumn* column = nullptr;
    int cell_x = 0, cell_y = 0;
    if (!view.get_path_at_pos(static_cast<int>(event->x), static_cast<int>(event->y), path, column, cell_x, cell_y))
      return false;
    const bool was_selected = view.get_selection()->is_selected(path);
    if (!was_selected) {
      view.get_selection()->unselect_all();
      view.set_cursor(path);
    }
    const GdkEvent* e = reinterpret_cast<const GdkEvent*>(event);
    if (folders) pop_up_folder_menu(e);
    else pop_up_abbreviation_menu(e);
    return was_selected;
  };
  folder_view_.signal_button_press_event().connect(
      [this, on_press](GdkEventButton* event) { return on_press(folder_view_, true, event); }, false);
  list_view_.signal_button_press_event().connect(
      [this, on_press](GdkEventButton* event) { return on_press(list_view_, false, event); }, false);
}

Gtk::Menu& MainWindow::pop_up_folder_menu(const GdkEvent* event) {
  std::vector<Folder*> selected = selected_folders();
  context_menu_ = build_context_menu(folder_context_menu_items({selected.begin(), selected.end()}),
                                     [this](const std::string& action) { folder_action(action); });
  context_menu_->attach_to_widget(folder_view_);
  pop_up(*context_menu_, folder_view_, event);
  return *context_menu_;
}

Gtk::Menu& MainWindow::pop_up_abbreviation_menu(const GdkEvent* event) {
  std::vector<Abbreviation*> selected = selected_records();
  const bool offer_folder = all_row_selected() || search_state_.duplicate_search();
  context_menu_ = build_context_menu(
      abbrev_context_menu_items({selected.begin(), selected.end()}, offer_folder, textexpander_mode()),
      [this](const std::string& action) { abbreviation_action(action); });
  context_menu_->attach_to_widget(list_view_);
  pop_up(*context_menu_, list_view_, event);
  return *context_menu_;
}

void MainWindow::folder_action(const std::string& action) {
  if (equals_ignoring_case(action, "NewFolder")) {
    new_folder(true);
  } else if (equals_ignoring_case(action, "NewSubfolder")) {
    new_folder(false);
  } else if (equals_ignoring_case(action, "Enable") || equals_ignoring_case(action, "Disable")) {
    const bool enable = equals_ignoring_case(action, "Enable");
    for (Folder* folder : selected_folders()) {
      if (!folder->parent) continue;
      abbr_set_folder_enabled(*folder, enable, false);
      if (ModelHooks* hooks = ctx_.library.hooks) hooks->folder_modified(*folder);
    }
    folder_view_.queue_draw();  // the icons show the new states
    presenter_.mark_unapplied();
  } else if (program_action && selected_folder() && program_action(action, selected_folder())) {
    // The exports of the folder: the program's, with their dialogs.
  } else if (equals_ignoring_case(action, "Rename")) {
    edit_folder();
  } else if (equals_ignoring_case(action, "Delete")) {
    delete_selected_folders();
  } else {
    ctx_.prompts.info(kNotAvailableYet);
  }
}

void MainWindow::abbreviation_action(const std::string& action) {
  std::vector<Abbreviation*> selected = selected_records();
  std::optional<int> case_mode = context_action_case_mode(action);
  std::optional<int> trigger_mode = context_action_trigger_mode(action);
  if (case_mode || trigger_mode) {
    const bool changed = case_mode ? set_case_mode_of(selected, *case_mode) : set_trigger_mode_of(selected, *trigger_mode);
    for (Abbreviation* record : selected) {
      if (ModelHooks* hooks = ctx_.library.hooks) {
        hooks->abbrev_col_modified(*record, case_mode ? AbbrevField::CaseMode : AbbrevField::TriggerMode);
      }
      if (auto row = list_row(record)) list_model_->changed(*row);
    }
    editor_->presenter().show_selection(selected);  // the editor's combos show the new mode
    if (changed) presenter_.mark_unapplied();
  } else if (equals_ignoring_case(action, "OpenContFol")) {
    if (!selected.empty() && selected.front()->folder) select_folder(selected.front()->folder);
  } else if (equals_ignoring_case(action, "NewAbbreviation")) {
    new_abbreviation(ABBR_TYPE_TEXT);
  } else if (equals_ignoring_case(action, "NewAppLauncher")) {
    new_abbreviation(ABBR_TYPE_PROGRAM);
  } else if (equals_ignoring_case(action, "NewWebsiteLauncher")) {
    new_abbreviation(ABBR_TYPE_WEBSITE);
  } else if (equals_ignoring_case(action, "Delete")) {
    delete_selected_abbreviations();
  }
}

// ---------------------------------------------------------------- drag and drop

void MainWindow::connect_drag_and_drop() {
  // The list's model is no drag source of its own: the view itself is.
  if (!dnd_connected_) list_view_.drag_source_set(kDragTargets, Gdk::BUTTON1_MASK, Gdk::ACTION_COPY | Gdk::ACTION_MOVE);
  if (textexpander_mode()) {
    folder_view_.unset_rows_drag_source();
    folder_view_.unset_rows_drag_dest();
    return;
  }
  folder_view_.enable_model_drag_source(kDragTargets, Gdk::BUTTON1_MASK, Gdk::ACTION_COPY | Gdk::ACTION_MOVE);
  folder_view_.enable_model_drag_dest(kDragTargets, Gdk::ACTION_MOVE);
  if (dnd_connected_) return;
  dnd_connected_ = true;
  // The tree view's own row moving is replaced: the library decides, then the rows follow.
  // The folder or note icon, 12 pixels right of and below the pointer (after the tree
  // view's own picture of the row).
  folder_view_.signal_drag_begin().connect([this](const Glib::RefPtr<Gdk::DragContext>& context) {
    drag_source_ = DragSource::Folders;
    context->set_icon_name("folder", -12, -12);
  });
  list_view_.signal_drag_begin().connect([this](const Glib::RefPtr<Gdk::DragContext>& context) {
    drag_source_ = DragSource::Abbreviations;
    context->set_icon_name("text-x-generic", -12, -12);
  });
  for (Gtk::TreeView* view : {&folder_view_, &list_view_}) {
    view->signal_drag_data_get().connect(
        [](const Glib::RefPtr<Gdk::DragContext>&, Gtk::SelectionData& data, guint, guint) {
          data.set("DRAG_DATA", 8, reinterpret_cast<const guint8*>("1"), 1);
        },
        false);
  }
  folder_view_.signal_drag_motion().connect(
      [this](const Glib::RefPtr<Gdk::DragContext>& context, int x, int y, guint time) {
        std::optional<Gtk::TreeModel::Path> path = folder_path_at(x, y);
        Folder* target = path ? static_cast<Folder*>((*folder_store_->get_iter(*path))[folder_columns_.folder]) : nullptr;
        const bool allowed = Gtk::Widget::drag_get_source_widget(context) &&
                             drop_allowed(drag_source_, target);
        if (!allowed) {
          folder_view_.unset_drag_dest_row();
          context->drag_refuse(time);
          return true;
        }
        folder_view_.set_drag_dest_row(path.value_or(Gtk::TreeModel::Path("0")), Gtk::TREE_VIEW_DROP_INTO_OR_AFTER);
        context->drag_status(Gdk::ACTION_MOVE, time);
        return true;
      },
      false);
  folder_view_.signal_drag_drop().connect(
      [this](const Glib::RefPtr<Gdk::DragContext>& context, int x, int y, guint time) {
        std::optional<Gtk::TreeModel::Path> path = folder_path_at(x, y);
        Folder* target = path ? static_cast<Folder*>((*folder_store_->get_iter(*path))[folder_columns_.folder]) : nullptr;
        const bool accepted = Gtk::Widget::drag_get_source_widget(context) && drop_allowed(drag_source_, target);
        if (accepted) drop(drag_source_, target);
        // The rows were moved here; the drag deletes nothing itself.
        context->drag_finish(accepted, false, time);
        return true;
      },
      false);
  folder_view_.signal_drag_data_received().connect(
      [](const Glib::RefPtr<Gdk::DragContext>&, int, int, const Gtk::SelectionData&, guint, guint) {}, false);
}

std::optional<Gtk::TreeModel::Path> MainWindow::folder_path_at(int x, int y) const {
  Gtk::TreeModel::Path path;
  Gtk::TreeViewDropPosition position;
  auto& view = const_cast<Gtk::TreeView&>(folder_view_);
  if (!view.get_dest_row_at_pos(x, y, path, position)) return std::nullopt;
  return path;
}

bool MainWindow::drop_allowed(DragSource source, Folder* target) const {
  if (textexpander_mode()) return false;
  if (source == DragSource::Abbreviations) {
    std::vector<Abbreviation*> dragged = selected_records();
    return !dragged.empty() && abbreviation_drop(*dragged.front(), target).accepted;
  }
  std::vector<Folder*> dragged = selected_folders();
  Folder* top = abbr_get_absolute_parent_folder(ctx_.library.sandbox);
  return !dragged.empty() && top && folder_drop(*dragged.front(), target, *top).accepted;
}

bool MainWindow::drop(DragSource source, Folder* target) {
  if (!drop_allowed(source, target)) return false;
  if (source == DragSource::Abbreviations) {
    Abbreviation& record = *selected_records().front();
    DropDecision decision = abbreviation_drop(record, target);
    if (!decision.moves) return true;
    abbr_reparent_abbrev(record, *decision.target, nullptr);
    presenter_.mark_unapplied();
    std::optional<size_t> row = list_row(&record);
    if (!row) return true;
    if (all_row_selected()) {
      list_model_->changed(*row);  // the Containing Folder text
    } else {
      filling_ = true;
      list_view_.get_selection()->unselect_all();
      list_model_->erase(*row);
      filling_ = false;
      if (auto next = row_to_select_after_delete(*row, list_model_->size())) select_list_row(*next);
      else list_selection_changed();
    }
    return true;
  }
  Folder& folder = *selected_folders().front();
  DropDecision decision = folder_drop(folder, target, *abbr_get_absolute_parent_folder(ctx_.library.sandbox));
  if (!decision.moves) return true;
  std::vector<const Folder*> expanded;
  collect_expanded(folder_store_->children(), expanded);
  filling_ = true;
  if (auto row = folder_row(&folder)) folder_store_->erase(*row);
  abbr_reparent_folder(folder, decision.target);
  if (auto target_row = folder_row(decision.target)) {
    Gtk::TreeModel::Row parent_row = **target_row;
    add_folder_rows(folder, &parent_row);
  }
  expanded.push_back(decision.target);
  for (const Folder* f : expanded) {
    if (auto row = folder_row(f)) (**row)[folder_columns_.expanded] = true;
  }
  restore_expanded_rows();
  filling_ = false;
  sort_sandbox_folders();
  select_folder(&folder);
  presenter_.mark_unapplied();
  return true;
}

}  // namespace tolvan::ui
