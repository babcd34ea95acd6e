// MainWindow: the window people edit their library in. The folder tree on the left, the
// abbreviation list of the selected folder on the right with the editor's frame under it,
// the menu bar and the button bars. Every edit goes into the sandbox; Apply and OK hand it
// to the keyboard engine and save it. Closing hides the window into the tray; it lives
// until the program quits.
#pragma once

#include <gtkmm/accelgroup.h>
#include <gtkmm/box.h>
#include <gtkmm/builder.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/frame.h>
#include <gtkmm/label.h>
#include <gtkmm/menu.h>
#include <gtkmm/menubar.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/paned.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treestore.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/enabled_switch.h"
#include "core/prompts.h"
#include "library/library.h"
#include "presenters/library_window/abbrev_list_presenter.h"
#include "presenters/file_dialogs.h"
#include "presenters/library_window/browser_list.h"
#include "presenters/library_window/editor_host.h"
#include "presenters/library_window/folder_editor_host.h"
#include "presenters/library_window/main_window_presenter.h"
#include "presenters/library_window/search_box_state.h"
#include "presenters/library_window/type_ahead.h"
#include "settings/settings.h"
#include "ui/library_window/abbrev_editor_view.h"
#include "ui/library_window/default_browser_only.h"
#include "ui/library_window/folder_editor_window.h"
#include "ui/library_window/record_list_model.h"

namespace tolvan::ui {

class BackupManagerWindow;

inline constexpr const char* kNotAvailableYet =
    "This is not available yet in this version of Tolvan.";
inline constexpr const char* kMissingHelpText =
    "Couldn't find the program documentation. Please re-install the program or contact us at";
inline constexpr const char* kSupportAddress = "support@tolvan.org";
inline constexpr const char* kSyncingMarkup =
    "<big><b><span foreground=\"red\">Syncing. Please wait...</span></b></big>";

// What the window works with; everything outlives it.
struct MainWindowContext {
  Library& library;
  Settings& prefs;
  RunTimeVariables& gvar;
  Prompts& prompts;
  EnabledSwitch& enabled;
  ApplySteps& apply_steps;
  // The keyboard engine forgets what was typed (the user types into Tolvan's own fields).
  std::function<void()> clear_key_buffer;
  std::function<void()> quit;
  // The editor's launcher pages browse for files and folders with these.
  FileDialogs& file_dialogs;
  // The browsers a website launcher may name; the desktop's default alone when null.
  BrowserList* browsers = nullptr;
  EditorServices editor_services = {};
  // Whether launchers may run programs as the administrator (the editor offers it then).
  bool can_run_as_administrator = false;
};

class MainWindow final : public Gtk::Window,
                         public EditorHost,
                         public FolderEditorHost,
                         public StateListener,
                         private MainWindowView,
                         private SearchBoxView {
 public:
  explicit MainWindow(MainWindowContext ctx);
  ~MainWindow() override;

  MainWindowPresenter& presenter() { return presenter_; }
  PendingChanges& pending_changes() { return presenter_; }

  // From the tray: in the task bar again, in front, the folder selection listed afresh.
  void show_from_tray();
  // Before the program destroys it: the folders, the sorts and the selection are kept in
  // the preferences.
  void save_state();

  // The list's selection changed: the selected records (the editor edits exactly one).
  std::function<void(const std::vector<Abbreviation*>&)> on_selection_changed;

  // The abbreviation editor in the frame under the list.
  AbbrevEditorView& editor() { return *editor_; }
  // The open "Add Folder" / "Edit Folder Details" window, or nullptr.
  FolderEditorWindow* folder_editor() { return folder_editor_.get(); }
  // The preferences textexpander_mode, adv_view or show_bottom_buttons changed.
  void view_mode_changed();

  // Menu actions the program carries out beside the window (imports, exports, the
  // preferences), from the menu bar (no folder) or a folder's menu; it answers false for
  // an action that is not one of them.
  std::function<bool(const std::string& action, const Folder* folder)> program_action;

  // Shared-folder sync: the red notice while it reads; then the views rebuilt from the
  // sandbox it made afresh from the new main list, with nothing left to apply.
  void show_syncing(bool syncing);
  void show_fresh_sandbox();

  // The import menu's example set, and a folder an import added to the sandbox.
  void import_examples();
  void folder_imported(Folder& folder);
  // The listing of a folder: every abbreviation for the All row.
  void show_folder(const Folder* folder);

  // EditorHost
  void record_edited(Abbreviation& record, EditedField field) override;
  void mark_unapplied() override { presenter_.mark_unapplied(); }
  void clear_key_buffer() override;
  void show_conflicts(const std::string& text, const std::vector<Abbreviation*>& records) override;

  // FolderEditorHost
  void add_folder_to_folder(Folder& parent, const std::string& name) override;
  void folder_modified(Folder& folder) override;

  // StateListener: the status button shows the expander's state.
  void app_state_changed(int state) override;

  // The widgets, for the toolkit tests.
  Gtk::TreeView& folder_view() { return folder_view_; }
  Gtk::TreeView& list_view() { return list_view_; }
  Gtk::Entry& search_entry() { return search_; }
  Gtk::Button& apply_button() { return apply_; }
  Gtk::Button& ok_button() { return ok_; }
  Gtk::Button& cancel_button() { return cancel_; }
  Gtk::Button& status_button() { return status_; }
  Gtk::Frame& editor_frame() { return editor_frame_; }
  Gtk::Menu& column_menu() { return column_menu_; }
  Gtk::TreeViewColumn& list_column(int column) { return *list_view_columns_.at(column); }
  Gtk::MenuItem* menu_item(const std::string& action) const;
  // The records listed, top to bottom.
  std::vector<Abbreviation*> listed_records() const;
  std::vector<Abbreviation*> selected_records() const;
  void select_folder(const Folder* folder);
  std::vector<Folder*> selected_folders() const;
  // The name the folder's row in the tree shows.
  std::string folder_row_name(const Folder* folder) const;
  void new_abbreviation(AbbrType type);
  void delete_selected_abbreviations();
  void delete_selected_folders();
  // The folder editor: a new folder in the selected one (or at the top level), or the
  // selected folder's details.
  void new_folder(bool top_level = false);
  void edit_folder();
  void header_clicked(int column);
  void activate_action(const std::string& action);

  // The right-click menus over the current selections; an item's action goes to
  // folder_action / abbreviation_action.
  Gtk::Menu& pop_up_folder_menu(const GdkEvent* event);
  Gtk::Menu& pop_up_abbreviation_menu(const GdkEvent* event);
  void folder_action(const std::string& action);
  void abbreviation_action(const std::string& action);

  // A drag from the folder tree or the list (its selection) dropped on `target`'s row, or
  // on empty space (nullptr). False when the drop is refused.
  enum class DragSource { Folders, Abbreviations };
  bool drop_allowed(DragSource source, Folder* target) const;
  bool drop(DragSource source, Folder* target);

 private:
  struct FolderColumns : Gtk::TreeModelColumnRecord {
    FolderColumns() {
      add(name);
      add(folder);
      add(expanded);
    }
    Gtk::TreeModelColumn<Glib::ustring> name;
    Gtk::TreeModelColumn<Folder*> folder;
    Gtk::TreeModelColumn<bool> expanded;
  };

  // Building.
  void build_menu_bar(Gtk::Box& box);
  void build_top_bar(Gtk::Box& box);
  void build_panes(Gtk::Box& box);
  void build_folder_view();
  void build_list_view();
  void build_bottom_bar(Gtk::Box& box);
  // A right click on a header: the optional columns to show.
  void build_column_menu();
  Gtk::Button& tool_button(Gtk::Box& bar, const char* icon, const char* label,
                           const char* tooltip, std::function<void()> clicked);
  void apply_initial_geometry();
  // The small button rows under the tree and the list follow show_bottom_buttons.
  void apply_view_mode();
  void build_editor();
  // Right clicks and drags over the folder tree and the list.
  void connect_context_menus();
  void connect_drag_and_drop();
  bool textexpander_mode() const;
  // The menus, the editor, the list's signs and the drops follow textexpander_mode when it
  // changed since the last time.
  void follow_textexpander_mode();
  void open_folder_editor(FolderEditorMode mode, Folder* selected, bool top_level);
  void refresh_folder_row(const Folder& folder);
  // The folder (the whole library for the absolute parent) written as a Tolvan file or an
  std::optional<Gtk::TreeModel::Path> folder_path_at(int x, int y) const;

  // MainWindowView
  void show_apply_sensitive(bool sensitive) override;
  const Folder* selected_folder() const override;
  void hide_to_tray() override;
  void rebuild_from_sandbox() override;
  void reselect_folder() override;
  void clear_list_selection() override;
  void scroll_views_to_top() override;

  // SearchBoxView
  void set_search_text(const std::string& text) override;
  void search_mode_changed() override;
  void search_for(const std::string& text) override;

  // The folder tree.
  void add_folder_rows(Folder& folder, const Gtk::TreeModel::Row* parent);
  void folder_selection_changed();
  bool all_row_selected() const;
  void restore_expanded_rows();
  // The sandbox's folders in the tree's order, so that the library is saved as it shows.
  void sort_sandbox_folders();
  void collect_expanded(const Gtk::TreeModel::Children& rows, std::vector<const Folder*>& out) const;
  std::optional<Gtk::TreeModel::iterator> folder_row(const Folder* folder) const;

  // The list.
  void fill_list(std::vector<Abbreviation*> records);
  void list_selection_changed();
  void update_columns();
  void refresh_sort_arrows();
  std::optional<size_t> list_row(const Abbreviation* record) const;
  bool list_key_pressed(GdkEventKey* event);
  void select_list_row(size_t index);

  void open_help(const char* page);
  bool on_delete_event(GdkEventAny* event) override;
  bool on_key_press_event(GdkEventKey* event) override;
  bool on_configure_event(GdkEventConfigure* event) override;
  bool on_window_state_event(GdkEventWindowState* event) override;

  MainWindowContext ctx_;
  MainWindowPresenter presenter_;
  AbbrevListPresenter list_presenter_;
  SearchBoxState search_state_;
  TypeAhead type_ahead_;
  FolderColumns folder_columns_;

  Glib::RefPtr<Gtk::AccelGroup> accels_;
  Glib::RefPtr<Gtk::Builder> menu_builder_;
  std::map<std::string, Gtk::MenuItem*> menu_items_;
  Gtk::Box main_box_{Gtk::ORIENTATION_VERTICAL};
  Gtk::Box top_bar_{Gtk::ORIENTATION_HORIZONTAL, 2};
  std::vector<std::unique_ptr<Gtk::Widget>> owned_;  // bar buttons and separators
  Gtk::Entry search_;
  Gtk::Menu launcher_menu_;
  Gtk::Menu column_menu_;
  Gtk::Paned folder_pane_{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::Paned list_pane_{Gtk::ORIENTATION_VERTICAL};
  Gtk::Box folder_side_{Gtk::ORIENTATION_VERTICAL};
  Gtk::Box list_side_{Gtk::ORIENTATION_VERTICAL};
  Gtk::Box folder_buttons_{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::Box list_buttons_{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::ScrolledWindow folder_scroll_;
  Gtk::ScrolledWindow list_scroll_;
  Glib::RefPtr<Gtk::TreeStore> folder_store_;
  Gtk::TreeView folder_view_;
  Glib::RefPtr<RecordListModel> list_model_;
  Gtk::TreeView list_view_;
  std::map<int, Gtk::TreeViewColumn*> list_view_columns_;
  Gtk::Frame editor_frame_;
  Gtk::ScrolledWindow editor_scroll_;
  Gtk::Box bottom_bar_{Gtk::ORIENTATION_HORIZONTAL, 6};
  Gtk::Button status_;
  Gtk::Box syncing_{Gtk::ORIENTATION_HORIZONTAL, 6};
  Gtk::Label syncing_label_;
  Gtk::Button ok_;
  Gtk::Button cancel_;
  Gtk::Button apply_;
  Gtk::Label apply_label_;
  std::vector<Gtk::Widget*> folder_delete_buttons_;
  std::vector<Gtk::Widget*> folder_action_widgets_;
  std::vector<Gtk::Widget*> abbrev_delete_buttons_;
  std::unique_ptr<BackupManagerWindow> backup_manager_;
  DefaultBrowserOnly default_browser_;
  std::unique_ptr<AbbrevEditorView> editor_;
  std::unique_ptr<FolderEditorWindow> folder_editor_;
  std::unique_ptr<Gtk::Menu> context_menu_;
  DragSource drag_source_ = DragSource::Abbreviations;
  bool dnd_connected_ = false;
  std::optional<bool> te_mode_shown_;
  const Folder* last_folder_ = nullptr;  // the folder the list shows
  bool filling_ = false;  // the program changes the selections
  sigc::connection type_ahead_idle_;
  std::vector<sigc::connection> connections_;
};

}  // namespace tolvan::ui
