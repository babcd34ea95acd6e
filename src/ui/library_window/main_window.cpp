#include "ui/library_window/main_window.h"

#include <gdk/gdkkeysyms.h>
#include <giomm/file.h>
#include <glibmm/main.h>
#include <giomm/appinfo.h>
#include <gtkmm/cellrendererpixbuf.h>
#include <gtkmm/checkmenuitem.h>
#include <gtkmm/image.h>
#include <gtkmm/separator.h>
#include <gtkmm/treerowreference.h>
#include <gtkmm/sizegroup.h>

#include <algorithm>
#include <filesystem>

#include "import/included_sets.h"
#include "library/folder_tree.h"
#include "library/lookups.h"
#include "library/search.h"
#include "library/sorting.h"
#include "settings/prefs.h"
#include "ui/about_dialog.h"
#include "ui/backup_manager_window.h"
#include "ui/resources.h"

namespace tolvan::ui {
namespace {

constexpr int kFolderPane = 219;
constexpr int kListPane = 233;

struct ListColumnLayout {
  int id;
  const char* title;
  int width;  // 0: takes the remaining width
};
constexpr ListColumnLayout kListColumns[] = {
    {SORT_BY_DESCRIPTION, " Description", 150}, {SORT_BY_ABBREVIATION, " Abbreviation", 88},
    {SORT_BY_EXPANSION, " Replacement Preview", 0}, {SORT_BY_FOLDER, " Containing Folder", 144},
    {SORT_BY_CREATED, " Created", 130},          {SORT_BY_MODIFIED, " Last Modified", 130},
};

const char* type_icon(AbbrType type) {
  switch (type) {
    case ABBR_TYPE_PROGRAM: return "application-x-executable";
    case ABBR_TYPE_WEBSITE: return "applications-internet";
    default: return "text-x-generic";
  }
}

// The menu's accelerators (the window-local ones are in on_key_press_event).
struct MenuAccelerator {
  const char* action;
  guint key;
  Gdk::ModifierType modifiers;
};
const MenuAccelerator kMenuAccelerators[] = {
    {"NewFolder", GDK_KEY_o, Gdk::CONTROL_MASK},
    {"NewAbbreviation", GDK_KEY_n, Gdk::CONTROL_MASK},
    {"NewProgramLauncher", GDK_KEY_l, Gdk::CONTROL_MASK},
    {"NewWebsiteLauncher", GDK_KEY_w, Gdk::CONTROL_MASK},
    {"Preferences", GDK_KEY_p, Gdk::CONTROL_MASK},
    {"Help", GDK_KEY_F1, Gdk::ModifierType(0)},
    {"KeyHelp", GDK_KEY_F2, Gdk::ModifierType(0)},
};

// Actions whose windows and modules are not part of Tolvan yet.
const char* const kNotYetActions[] = {
    "Import",    "ImportTE",      "TEMenuImportTE", "ImportTypo",    "ImportTidBITS",
    "ImportMT",  "ImportAC",      "ImportShorthand", "ImportSureType",
    "ExportTE",  "TEMenuExportTE", "Preferences",   "Contact",       "Comments",
    "Update",
};

void set_accessible_name(Gtk::Widget& widget, const char* name) {
  widget.get_accessible()->set_name(name);
}

}  // namespace

MainWindow::MainWindow(MainWindowContext ctx)
    : ctx_(std::move(ctx)),
      presenter_(*this, ctx_.apply_steps,
                 BackupContext{ctx_.prefs, ctx_.gvar, ctx_.library, ctx_.prompts, nullptr, nullptr}),
      list_presenter_(ctx_.prefs),
      search_state_(*this) {
  set_title(MainWindowPresenter::title(portable_mode(ctx_.gvar)));
  set_default_size(796, 577);
  set_icon_name("tolvan");
  accels_ = Gtk::AccelGroup::create();
  add_accel_group(accels_);
  build_menu_bar(main_box_);
  build_top_bar(main_box_);
  build_panes(main_box_);
  build_editor();
  connect_context_menus();
  connect_drag_and_drop();
  build_bottom_bar(main_box_);
  add(main_box_);
  main_box_.show_all();
  syncing_.hide();

  apply_initial_geometry();
  if (presenter_.folders_sorted_descending()) sort_sandbox_folders();
  list_presenter_.load_from_prefs({false, false});
  presenter_.reset(true);
  app_state_changed(ctx_.enabled.state());
}

MainWindow::~MainWindow() {
  // The widgets go one by one from here on; the focus leaving one must not reach the others.
  for (sigc::connection& c : connections_) c.disconnect();
  type_ahead_idle_.disconnect();
  // The editors call back into the window while their fields go: they go first, while
  // everything they reach is still whole.
  folder_editor_.reset();
  context_menu_.reset();
  editor_.reset();
}

// ---------------------------------------------------------------- building

void MainWindow::build_menu_bar(Gtk::Box& box) {
  register_tolvan_resources();
  menu_builder_ = Gtk::Builder::create_from_resource("/org/tolvan/Tolvan/ui/main_window_menu.ui");
  Gtk::MenuBar* bar = nullptr;
  menu_builder_->get_widget("MenuBar", bar);
  for (const Glib::RefPtr<Glib::Object>& object : menu_builder_->get_objects()) {
    auto* item = dynamic_cast<Gtk::MenuItem*>(object.get());
    if (!item || item->get_submenu()) continue;
    const std::string action = gtk_buildable_get_name(GTK_BUILDABLE(item->gobj()));
    menu_items_[action] = item;
    item->signal_activate().connect([this, action] { activate_action(action); });
  }
  for (const MenuAccelerator& a : kMenuAccelerators) {
    if (Gtk::MenuItem* item = menu_item(a.action)) {
      item->add_accelerator("activate", accels_, a.key, a.modifiers, Gtk::ACCEL_VISIBLE);
    }
  }
  for (const char* action : {"ImportTypo", "ImportExamples", "ImportTidBITS"}) menu_item(action)->set_no_show_all(true);
  box.pack_start(*bar, Gtk::PACK_SHRINK);
}

Gtk::MenuItem* MainWindow::menu_item(const std::string& action) const {
  auto found = menu_items_.find(action);
  return found == menu_items_.end() ? nullptr : found->second;
}

Gtk::Button& MainWindow::tool_button(Gtk::Box& bar, const char* icon, const char* label,
                                     const char* tooltip, std::function<void()> clicked) {
  auto button = std::make_unique<Gtk::Button>();
  button->set_relief(Gtk::RELIEF_NONE);
  button->set_can_focus(false);
  button->set_image_from_icon_name(icon, Gtk::ICON_SIZE_SMALL_TOOLBAR);
  if (label) {
    button->set_label(label);
    button->set_always_show_image(true);
  }
  button->set_tooltip_text(tooltip);
  set_accessible_name(*button, label ? label : tooltip);
  button->signal_clicked().connect(std::move(clicked));
  Gtk::Button& ref = *button;
  bar.pack_start(ref, Gtk::PACK_SHRINK);
  owned_.push_back(std::move(button));
  return ref;
}

void MainWindow::build_top_bar(Gtk::Box& box) {
  auto separator = [this](Gtk::Box& bar) {
    auto s = std::make_unique<Gtk::Separator>(Gtk::ORIENTATION_VERTICAL);
    bar.pack_start(*s, Gtk::PACK_SHRINK, 4);
    owned_.push_back(std::move(s));
  };
  tool_button(top_bar_, "folder-new", "New Folder",
                                 "Create a new folder (Ctrl+O)", [this] { new_folder(); });
  auto& edit_folder = tool_button(top_bar_, "document-properties", nullptr, "Edit selected folder",
                                  [this] { this->edit_folder(); });
  auto& delete_folder = tool_button(top_bar_, "edit-delete", nullptr, "Delete selected folder",
                                    [this] { delete_selected_folders(); });
  separator(top_bar_);
  auto& new_abbrev = tool_button(top_bar_, "document-new", "New Abbreviation",
                                 "Create a new text abbreviation (Ctrl+N)",
                                 [this] { new_abbreviation(ABBR_TYPE_TEXT); });
  auto& new_launcher = tool_button(top_bar_, "system-run", "New Launcher",
                                   "Create a new program, file, folder, or website launcher", [] {});
  auto& delete_abbrev = tool_button(top_bar_, "list-remove", nullptr,
                                    "Delete selected abbreviation / launcher",
                                    [this] { delete_selected_abbreviations(); });
  auto program = Gtk::make_managed<Gtk::MenuItem>("New _Program, File, or Folder Launcher (Ctrl+L)", true);
  program->signal_activate().connect([this] { new_abbreviation(ABBR_TYPE_PROGRAM); });
  auto website = Gtk::make_managed<Gtk::MenuItem>("New _Website Launcher (Ctrl+W)", true);
  website->signal_activate().connect([this] { new_abbreviation(ABBR_TYPE_WEBSITE); });
  launcher_menu_.append(*program);
  launcher_menu_.append(*website);
  launcher_menu_.show_all();
  launcher_menu_.attach_to_widget(new_launcher);
  new_launcher.signal_clicked().connect([this, &new_launcher] {
    launcher_menu_.popup_at_widget(&new_launcher, Gdk::GRAVITY_SOUTH_WEST, Gdk::GRAVITY_NORTH_WEST, nullptr);
  });

  auto& preferences = tool_button(top_bar_, "preferences-system", nullptr, "Preferences (Ctrl+P)",
                                  [this] { activate_action("Preferences"); });
  auto& help = tool_button(top_bar_, "help-browser", nullptr, "Help (F1)",
                           [this] { open_help("help/index.html"); });
  top_bar_.remove(preferences);
  top_bar_.remove(help);
  top_bar_.pack_end(preferences, Gtk::PACK_SHRINK);
  top_bar_.pack_end(help, Gtk::PACK_SHRINK);
  search_.set_icon_from_icon_name("edit-find-symbolic", Gtk::ENTRY_ICON_PRIMARY);
  search_.set_tooltip_text(kSearchTooltip);
  search_.set_width_chars(24);
  set_accessible_name(search_, "Search");
  connections_.push_back(search_.signal_focus_in_event().connect([this](GdkEventFocus*) {
    search_state_.focus_in();
    return false;
  }));
  connections_.push_back(search_.signal_focus_out_event().connect([this](GdkEventFocus*) {
    search_state_.focus_out(search_.get_text().raw());
    return false;
  }));
  connections_.push_back(search_.signal_changed().connect(
      [this] { search_state_.text_changed(search_.get_text().raw()); }));
  top_bar_.pack_end(search_, Gtk::PACK_SHRINK, 4);
  box.pack_start(top_bar_, Gtk::PACK_SHRINK);

  folder_delete_buttons_ = {&delete_folder};
  folder_action_widgets_ = {&edit_folder, &new_abbrev, &new_launcher, &list_view_, &search_};
  abbrev_delete_buttons_ = {&delete_abbrev};
}

void MainWindow::build_panes(Gtk::Box& box) {
  build_folder_view();
  build_list_view();
  folder_scroll_.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
  folder_scroll_.set_shadow_type(Gtk::SHADOW_IN);
  folder_scroll_.add(folder_view_);
  folder_side_.pack_start(folder_scroll_, Gtk::PACK_EXPAND_WIDGET);
  tool_button(folder_buttons_, "folder-new", nullptr, "Create a new folder (Ctrl+O)", [this] { new_folder(); });
  auto& edit = tool_button(folder_buttons_, "document-properties", nullptr, "Edit selected folder",
                           [this] { this->edit_folder(); });
  auto& remove = tool_button(folder_buttons_, "edit-delete", nullptr, "Delete selected folder",
                             [this] { delete_selected_folders(); });
  folder_buttons_.remove(remove);
  folder_buttons_.pack_end(remove, Gtk::PACK_SHRINK);
  folder_side_.pack_start(folder_buttons_, Gtk::PACK_SHRINK);

  list_scroll_.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
  list_scroll_.set_shadow_type(Gtk::SHADOW_IN);
  list_scroll_.add(list_view_);
  list_side_.pack_start(list_scroll_, Gtk::PACK_EXPAND_WIDGET);
  auto& add_text = tool_button(list_buttons_, "document-new", nullptr, "Create a new text abbreviation (Ctrl+N)",
                               [this] { new_abbreviation(ABBR_TYPE_TEXT); });
  auto& add_program = tool_button(list_buttons_, "system-run", nullptr,
                                  "Create a new program, file, or folder launcher (Ctrl+L)",
                                  [this] { new_abbreviation(ABBR_TYPE_PROGRAM); });
  auto& add_website = tool_button(list_buttons_, "applications-internet", nullptr,
                                  "Create a new website launcher (Ctrl+W)",
                                  [this] { new_abbreviation(ABBR_TYPE_WEBSITE); });
  auto s = std::make_unique<Gtk::Separator>(Gtk::ORIENTATION_VERTICAL);
  list_buttons_.pack_start(*s, Gtk::PACK_SHRINK, 4);
  owned_.push_back(std::move(s));
  auto& delete_abbrev = tool_button(list_buttons_, "list-remove", nullptr,
                                    "Delete selected abbreviation / launcher",
                                    [this] { delete_selected_abbreviations(); });
  list_side_.pack_start(list_buttons_, Gtk::PACK_SHRINK);
  folder_delete_buttons_.push_back(&remove);
  folder_action_widgets_.insert(folder_action_widgets_.end(), {&edit, &add_text, &add_program, &add_website});
  abbrev_delete_buttons_.push_back(&delete_abbrev);

  editor_frame_.set_shadow_type(Gtk::SHADOW_ETCHED_IN);
  editor_frame_.set_sensitive(false);
  list_pane_.pack1(list_side_, true, false);
  list_pane_.pack2(editor_frame_, true, false);
  folder_pane_.pack1(folder_side_, false, false);
  folder_pane_.pack2(list_pane_, true, false);
  folder_pane_.set_position(presenter_.pane_position(Pane::Folders).value_or(kFolderPane));
  list_pane_.set_position(presenter_.pane_position(Pane::Abbreviations).value_or(kListPane));
  folder_side_.signal_size_allocate().connect(
      [this](Gtk::Allocation&) { presenter_.pane_moved(Pane::Folders, folder_pane_.get_position()); });
  list_side_.signal_size_allocate().connect(
      [this](Gtk::Allocation&) { presenter_.pane_moved(Pane::Abbreviations, list_pane_.get_position()); });
  box.pack_start(folder_pane_, Gtk::PACK_EXPAND_WIDGET);
}

void MainWindow::build_folder_view() {
  folder_store_ = Gtk::TreeStore::create(folder_columns_);
  folder_store_->set_sort_func(folder_columns_.name, [this](const Gtk::TreeModel::iterator& a,
                                                            const Gtk::TreeModel::iterator& b) {
    const std::string x = Glib::ustring((*a)[folder_columns_.name]).raw();
    const std::string y = Glib::ustring((*b)[folder_columns_.name]).raw();
    return abbr_sort_key_before(x, y, SORT_ASCENDING)   ? -1
           : abbr_sort_key_before(y, x, SORT_ASCENDING) ? 1
                                                        : 0;
  });
  folder_store_->set_sort_column(folder_columns_.name, presenter_.folders_sorted_descending()
                                                           ? Gtk::SORT_DESCENDING
                                                           : Gtk::SORT_ASCENDING);
  folder_store_->signal_sort_column_changed().connect([this] { sort_sandbox_folders(); });
  folder_view_.set_model(folder_store_);
  folder_view_.get_selection()->set_mode(Gtk::SELECTION_MULTIPLE);
  folder_view_.set_enable_tree_lines(true);
  folder_view_.set_rules_hint(true);
  folder_view_.set_enable_search(false);
  set_accessible_name(folder_view_, "Folders");
  auto* column = Gtk::make_managed<Gtk::TreeViewColumn>(" Folder");
  auto* icon = Gtk::make_managed<Gtk::CellRendererPixbuf>();
  column->pack_start(*icon, false);
  column->set_cell_data_func(*icon, [this, icon](Gtk::CellRenderer*, const Gtk::TreeModel::iterator& it) {
    const Folder* folder = (*it)[folder_columns_.folder];
    icon->property_icon_name() = "folder";
    icon->property_sensitive() = folder && !folder->disabled;
  });
  column->pack_start(folder_columns_.name);
  column->set_sort_column(folder_columns_.name);
  column->set_clickable(true);
  folder_view_.append_column(*column);
  connections_.push_back(folder_view_.get_selection()->signal_changed().connect([this] {
    if (!filling_) folder_selection_changed();
  }));
  folder_view_.signal_row_activated().connect([this](const Gtk::TreeModel::Path& path, Gtk::TreeViewColumn*) {
    if (folder_view_.row_expanded(path)) folder_view_.collapse_row(path);
    else folder_view_.expand_row(path, false);
  });
  folder_view_.signal_row_expanded().connect([this](const Gtk::TreeModel::iterator& it, const Gtk::TreeModel::Path&) {
    (*it)[folder_columns_.expanded] = true;
    if (!filling_) restore_expanded_rows();
  });
  folder_view_.signal_row_collapsed().connect([this](const Gtk::TreeModel::iterator& it, const Gtk::TreeModel::Path&) {
    (*it)[folder_columns_.expanded] = false;
  });
}

void MainWindow::build_list_view() {
  list_model_ = RecordListModel::create({});
  list_view_.set_model(list_model_);
  list_view_.get_selection()->set_mode(Gtk::SELECTION_MULTIPLE);
  list_view_.set_rules_hint(true);
  list_view_.set_enable_search(false);
  set_accessible_name(list_view_, "Abbreviations");
  for (const ListColumnLayout& layout : kListColumns) {
    auto* column = Gtk::make_managed<Gtk::TreeViewColumn>(layout.title);
    if (layout.id == SORT_BY_DESCRIPTION) {
      auto* icon = Gtk::make_managed<Gtk::CellRendererPixbuf>();
      column->pack_start(*icon, false);
      column->set_cell_data_func(*icon, [this, icon](Gtk::CellRenderer*, const Gtk::TreeModel::iterator& it) {
        const Abbreviation* a = (*it)[list_model_->record_column()];
        icon->property_icon_name() = type_icon(a->type());
      });
    }
    auto* text = Gtk::make_managed<Gtk::CellRendererText>();
    column->pack_start(*text, true);
    const bool markup = layout.id == SORT_BY_ABBREVIATION || layout.id == SORT_BY_FOLDER;
    const int id = layout.id;
    column->set_cell_data_func(*text, [this, text, id, markup](Gtk::CellRenderer*, const Gtk::TreeModel::iterator& it) {
      const Abbreviation* a = (*it)[list_model_->record_column()];
      const std::string value = abbrev_column_text(*a, id);
      if (markup) text->property_markup() = value;
      else text->property_text() = value;
    });
    if (layout.id == SORT_BY_DESCRIPTION || layout.id == SORT_BY_EXPANSION) text->property_ellipsize() = Pango::ELLIPSIZE_END;
    if (layout.id == SORT_BY_FOLDER) text->property_ellipsize() = Pango::ELLIPSIZE_START;
    column->set_sizing(Gtk::TREE_VIEW_COLUMN_FIXED);
    if (layout.width > 0) column->set_fixed_width(layout.width);
    else column->set_expand(true);
    column->set_resizable(false);
    column->set_clickable(true);
    column->signal_clicked().connect([this, id] { header_clicked(id); });
    list_view_.append_column(*column);
    list_view_columns_[layout.id] = column;
    column->get_button()->signal_button_press_event().connect(
        [this](GdkEventButton* event) {
          if (event->button != 3) return false;
          column_menu_.popup_at_pointer(reinterpret_cast<GdkEvent*>(event));
          return true;
        },
        false);
  }
  build_column_menu();
  // The case and trigger modes at the end, as small signs.
  auto* modes = Gtk::make_managed<Gtk::TreeViewColumn>("");
  auto* modes_text = Gtk::make_managed<Gtk::CellRendererText>();
  modes->pack_start(*modes_text, false);
  modes->set_cell_data_func(*modes_text, [this, modes_text](Gtk::CellRenderer*, const Gtk::TreeModel::iterator& it) {
    const Abbreviation* a = (*it)[list_model_->record_column()];
    static const char* const kCase[] = {"Aa", "aa", "Ab"};
    static const char* const kTrigger[] = {"⚡", "⌨", "␣"};
    const int c = std::clamp(a->case_mode, 0, 2);
    const int t = std::clamp(a->trigger_mode - TRIGGER_IMMEDIATELY, 0, 2);
    // TextExpander mode has no trigger modes to show.
    modes_text->property_text() = te_mode_shown_.value_or(false) ? std::string(kCase[c]) : std::string(kCase[c]) + " " + kTrigger[t];
  });
  modes->set_sizing(Gtk::TREE_VIEW_COLUMN_FIXED);
  modes->set_fixed_width(48);
  list_view_.append_column(*modes);
  list_view_.set_fixed_height_mode(true);
  connections_.push_back(list_view_.get_selection()->signal_changed().connect([this] {
    if (!filling_) list_selection_changed();
  }));
  list_view_.signal_key_press_event().connect(sigc::mem_fun(*this, &MainWindow::list_key_pressed), false);
}

void MainWindow::build_column_menu() {
  struct Item {
    const char* label;
    const char* pref;
  };
  for (const Item& item : {Item{"Containing _Folder (when applicable)", "contfol_col"},
                           Item{"_Created", "created_col"}, Item{"_Last Modified", "modified_col"}}) {
    auto* check = Gtk::make_managed<Gtk::CheckMenuItem>(item.label, true);
    check->set_active(ctx_.prefs.get_int(item.pref) != 0);
    const std::string pref = item.pref;
    check->signal_toggled().connect([this, check, pref] {
      ctx_.prefs.set_int(pref, check->get_active() ? 1 : 0);
      folder_selection_changed();  // the columns and, when a sorted one went, the sort
    });
    column_menu_.append(*check);
  }
  column_menu_.show_all();
}

void MainWindow::build_bottom_bar(Gtk::Box& box) {
  auto separator = std::make_unique<Gtk::Separator>(Gtk::ORIENTATION_HORIZONTAL);
  box.pack_start(*separator, Gtk::PACK_SHRINK);
  owned_.push_back(std::move(separator));
  status_.set_use_underline(true);
  status_.set_always_show_image(true);
  status_.signal_clicked().connect([this] { ctx_.enabled.toggle(); });
  bottom_bar_.pack_start(status_, Gtk::PACK_SHRINK);
  auto* sync_icon = Gtk::make_managed<Gtk::Image>();
  sync_icon->set_from_icon_name("view-refresh", Gtk::ICON_SIZE_BUTTON);
  syncing_label_.set_markup(kSyncingMarkup);
  syncing_.pack_start(*sync_icon, Gtk::PACK_SHRINK);
  syncing_.pack_start(syncing_label_, Gtk::PACK_SHRINK);
  syncing_.set_no_show_all(true);
  sync_icon->show();
  syncing_label_.show();
  bottom_bar_.set_center_widget(syncing_);

  auto sizes = Gtk::SizeGroup::create(Gtk::SIZE_GROUP_HORIZONTAL);
  ok_.set_label("_OK");
  ok_.set_use_underline(true);
  ok_.set_size_request(75, -1);
  ok_.set_tooltip_text("Apply all changes and minimize to the system tray.");
  ok_.signal_clicked().connect([this] { presenter_.ok(); });
  cancel_.set_label("_Cancel");
  cancel_.set_use_underline(true);
  cancel_.set_tooltip_text("Cancel all changes and minimize to the system tray.");
  cancel_.signal_clicked().connect([this] { presenter_.cancel(); });
  apply_label_.set_markup_with_mnemonic("<b>A_pply</b>");
  apply_label_.set_mnemonic_widget(apply_);
  apply_.add(apply_label_);
  apply_.set_tooltip_text("Apply all changes.");
  apply_.set_sensitive(false);
  apply_.signal_clicked().connect([this] { presenter_.apply(); });
  set_accessible_name(apply_, "Apply");
  for (Gtk::Button* b : {&apply_, &cancel_, &ok_}) {
    sizes->add_widget(*b);
    bottom_bar_.pack_end(*b, Gtk::PACK_SHRINK);
  }
  bottom_bar_.set_border_width(4);
  box.pack_start(bottom_bar_, Gtk::PACK_SHRINK);
}

void MainWindow::apply_initial_geometry() {
  InitialGeometry g = presenter_.initial_geometry();
  if (g.position) move(g.position->first, g.position->second);
  if (g.size) resize(g.size->first, g.size->second);
  if (g.maximized) maximize();
}

// ---------------------------------------------------------------- the window

void MainWindow::apply_view_mode() {
  const bool bottom_buttons = ctx_.prefs.get_int("show_bottom_buttons") != 0;
  folder_buttons_.set_visible(bottom_buttons);
  list_buttons_.set_visible(bottom_buttons);
  if (editor_) editor_->presenter().apply_look();  // the advanced view's rows and labels
}

void MainWindow::show_from_tray() {
  set_skip_taskbar_hint(false);
  deiconify();
  show();
  apply_view_mode();
  present();
  folder_selection_changed();
  restore_expanded_rows();
}

void MainWindow::hide_to_tray() {
  set_skip_taskbar_hint(true);
  hide();
}

bool MainWindow::on_delete_event(GdkEventAny*) {
  presenter_.send_to_tray();
  return true;  // the window lives until the program quits
}

bool MainWindow::on_key_press_event(GdkEventKey* event) {
  const bool ctrl = (event->state & GDK_CONTROL_MASK) != 0;
  if (ctrl && (event->keyval == GDK_KEY_f || event->keyval == GDK_KEY_F)) {
    search_.grab_focus();
    return true;
  }
  if (ctrl && (event->keyval == GDK_KEY_s || event->keyval == GDK_KEY_S)) {
    if (apply_.get_sensitive()) apply_.clicked();
    return true;
  }
  if (event->keyval == GDK_KEY_Escape && !ctrl) {
    editor_frame_.hide();
    return true;
  }
  return Gtk::Window::on_key_press_event(event);
}

bool MainWindow::on_configure_event(GdkEventConfigure* event) {
  if (get_visible()) {
    int x = 0, y = 0, width = 0, height = 0;
    get_position(x, y);
    get_size(width, height);
    auto screen = get_screen();
    presenter_.window_configured({x, y, width, height}, screen->get_width(), screen->get_height(),
                                 is_maximized());
  }
  return Gtk::Window::on_configure_event(event);
}

bool MainWindow::on_window_state_event(GdkEventWindowState* event) {
  if (event->changed_mask & GDK_WINDOW_STATE_MAXIMIZED) {
    presenter_.window_maximized((event->new_window_state & GDK_WINDOW_STATE_MAXIMIZED) != 0);
  }
  return Gtk::Window::on_window_state_event(event);
}

void MainWindow::save_state() {
  std::vector<const Folder*> expanded;
  collect_expanded(folder_store_->children(), expanded);
  presenter_.remember_expanded_folders(expanded);
  int sort_id = 0;
  Gtk::SortType order = Gtk::SORT_ASCENDING;
  folder_store_->get_sort_column_id(sort_id, order);
  presenter_.remember_folder_sort(order == Gtk::SORT_DESCENDING);
  list_presenter_.save_to_prefs();
  presenter_.remember_selected_folder(selected_folder());
}

void MainWindow::show_apply_sensitive(bool sensitive) {
  apply_.set_sensitive(sensitive);
  apply_label_.set_markup_with_mnemonic(sensitive ? kApplyLabelMarkedUp : "<b>A_pply</b>");
}

void MainWindow::app_state_changed(int state) {
  const bool enabled = state == TOLVAN_STATE_ENABLED;
  status_.set_label(enabled ? "_Status: Enabled  " : "_Status: Disabled  ");
  status_.set_image_from_icon_name(enabled ? "media-playback-start" : "media-playback-pause",
                                   Gtk::ICON_SIZE_BUTTON);
}

void MainWindow::clear_key_buffer() {
  if (ctx_.clear_key_buffer) ctx_.clear_key_buffer();
}

// ---------------------------------------------------------------- actions

void MainWindow::activate_action(const std::string& action) {
  if (program_action && program_action(action, nullptr)) return;
  if (std::find(std::begin(kNotYetActions), std::end(kNotYetActions), action) !=
      std::end(kNotYetActions)) {
    ctx_.prompts.info(kNotAvailableYet);
  } else if (action == "NewFolder") {
    new_folder();
  } else if (action == "NewAbbreviation") {
    new_abbreviation(ABBR_TYPE_TEXT);
  } else if (action == "NewProgramLauncher") {
    new_abbreviation(ABBR_TYPE_PROGRAM);
  } else if (action == "NewWebsiteLauncher") {
    new_abbreviation(ABBR_TYPE_WEBSITE);
  } else if (action == "ImportExamples") {
    import_examples();
  } else if (action == "TEGuide" || action == "HelpTEGuide") {
    open_help("help/textexpander.html");
  } else if (action == "Help") {
    open_help("help/index.html");
  } else if (action == "KeyHelp") {
    open_help("help/keys.html");
  } else if (action == "Exit") {
    if (ctx_.quit) ctx_.quit();
  } else if (action == "BackupManager") {
    if (!backup_manager_) {
      BackupContext backup{ctx_.prefs, ctx_.gvar, ctx_.library, ctx_.prompts, nullptr,
                           [this] {
                             rebuild_from_sandbox();
                             presenter_.mark_unapplied();
                           }};
      backup_manager_ = std::make_unique<BackupManagerWindow>(backup, presenter_);
    }
    backup_manager_->show_over(this);
  } else if (action == "About") {
    about_dialog_show(this, ctx_.gvar.get("installation_dir"), ctx_.prompts);
  }
}

void MainWindow::open_help(const char* page) {
  const std::string path = ctx_.gvar.get("installation_dir") + "/" + page;
  bool opened = false;
  if (std::filesystem::exists(path)) {
    try {
      opened = Gio::AppInfo::launch_default_for_uri(Gio::File::create_for_path(path)->get_uri());
    } catch (const Glib::Error&) {
      opened = false;
    }
  }
  if (!opened) ctx_.prompts.error(std::string(kMissingHelpText) + " " + kSupportAddress);
}

void MainWindow::import_examples() {
  import_included_set(ctx_.library, ctx_.gvar, ctx_.prompts, kExamplesSet, false,
                      [this](Folder& folder) { folder_imported(folder); });
}

void MainWindow::folder_imported(Folder& folder) {
  rebuild_from_sandbox();
  folder_view_.expand_row(Gtk::TreePath("0"), false);
  select_folder(&folder);
  presenter_.mark_unapplied();
}

void MainWindow::new_abbreviation(AbbrType type) {
  std::vector<Folder*> selected = selected_folders();
  if (selected.empty()) return;
  const bool all_row = all_row_selected();
  if (all_row && ctx_.prefs.get_int("textexpander_mode") != 0) {
    ctx_.prompts.info("Please select (or create) a folder to create a new abbreviation in, and then try again.");
    return;
  }
  Folder& folder = *selected.front();
  const ModeDefaults modes{prefs_get_default_case_mode(ctx_.prefs, type),
                           prefs_get_default_trigger_mode(ctx_.prefs)};
  Abbreviation& record = abbr_add_abbrev_to_folder(folder, abbr_create_new_abbrev(type, &folder, modes));
  editor_->presenter().record_created(record);
  const std::vector<Abbreviation*>& rows = list_model_->records();
  const size_t position =
      new_abbrev_row_position(std::vector<const Abbreviation*>(rows.begin(), rows.end()), folder, all_row);
  list_model_->insert(position, &record);
  presenter_.mark_unapplied();
  select_list_row(position);
  editor_->presenter().begin_new_record();
}

void MainWindow::delete_selected_abbreviations() {
  std::vector<Gtk::TreeModel::Path> paths = list_view_.get_selection()->get_selected_rows();
  if (paths.empty()) return;
  std::vector<size_t> rows;
  for (const auto& p : paths) rows.push_back(static_cast<size_t>(p[0]));
  std::sort(rows.begin(), rows.end());
  const size_t first = rows.front();
  filling_ = true;
  list_view_.get_selection()->unselect_all();
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {  // from the bottom: indices hold
    Abbreviation* record = list_model_->at(*row);
    list_model_->erase(*row);
    editor_->presenter().record_deleting(*record);
    abbr_delete_abbrev_from_folder(*record);
  }
  filling_ = false;
  presenter_.mark_unapplied();
  if (auto row = row_to_select_after_delete(first, list_model_->size())) select_list_row(*row);
  else list_selection_changed();
}

void MainWindow::delete_selected_folders() {
  std::vector<Gtk::TreeModel::Path> paths = folder_view_.get_selection()->get_selected_rows();
  std::vector<Gtk::TreeRowReference> refs;
  for (const auto& p : paths) {
    if (p.to_string() != "0") refs.emplace_back(folder_store_, p);  // the All row stays
  }
  if (refs.empty()) return;
  filling_ = true;
  folder_view_.get_selection()->unselect_all();
  std::optional<Gtk::TreeModel::Path> place;
  for (Gtk::TreeRowReference& ref : refs) {
    if (!ref.is_valid()) continue;  // went with a folder above it
    Gtk::TreeModel::Path path = ref.get_path();
    Gtk::TreeModel::iterator it = folder_store_->get_iter(path);
    Folder* folder = (*it)[folder_columns_.folder];
    folder_store_->erase(it);
    abbr_delete_subfolder_from_parent(ctx_.library.sandbox, *folder);
    place = path;
  }
  filling_ = false;
  if (place && !folder_store_->get_iter(*place)) place->prev() || place->up();
  if (place && folder_store_->get_iter(*place)) folder_view_.get_selection()->select(*place);
  presenter_.mark_unapplied();
  folder_selection_changed();
}

// ---------------------------------------------------------------- folder tree

void MainWindow::add_folder_rows(Folder& folder, const Gtk::TreeModel::Row* parent) {
  Gtk::TreeModel::iterator it = parent ? folder_store_->append(parent->children()) : folder_store_->append();
  (*it)[folder_columns_.name] = folder.name;
  (*it)[folder_columns_.folder] = &folder;
  (*it)[folder_columns_.expanded] = false;
  Gtk::TreeModel::Row row = *it;
  for (auto& sub : folder.subfolders) add_folder_rows(*sub, &row);
}

void MainWindow::show_syncing(bool syncing) {
  syncing_.set_visible(syncing);
  set_title(syncing ? "Tolvan (syncing)" : MainWindowPresenter::title(portable_mode(ctx_.gvar)));
  auto context = Glib::MainContext::get_default();
  while (context->pending()) context->iteration(false);
}

void MainWindow::show_fresh_sandbox() {
  presenter_.reset(true);
  folder_view_.expand_row(Gtk::TreePath("0"), false);
}

void MainWindow::rebuild_from_sandbox() {
  fill_list({});  // no row may point into the sandbox that is about to go
  filling_ = true;
  folder_store_->clear();
  for (auto& top : ctx_.library.sandbox) add_folder_rows(*top, nullptr);
  FolderRestore restore = presenter_.folders_to_restore();
  for (uint32_t uid : restore.expanded) {
    if (Folder* f = abbr_folder_from_uid(ctx_.library.sandbox, uid)) {
      if (auto row = folder_row(f)) (**row)[folder_columns_.expanded] = true;
    }
  }
  restore_expanded_rows();
  filling_ = false;
  const Folder* selected = nullptr;
  if (restore.select == FolderRestore::Select::Folder) {
    selected = abbr_folder_from_uid(ctx_.library.sandbox, restore.folder_uid);
  }
  if (selected) select_folder(selected);
  else if (restore.select != FolderRestore::Select::Nothing && !folder_store_->children().empty())
    folder_view_.get_selection()->select(folder_store_->children().begin());
  else folder_selection_changed();
  apply_view_mode();
  folder_view_.grab_focus();
}

void MainWindow::sort_sandbox_folders() {
  int column = 0;
  Gtk::SortType order = Gtk::SORT_ASCENDING;
  folder_store_->get_sort_column_id(column, order);
  const int library_order = order == Gtk::SORT_DESCENDING ? SORT_DESCENDING : SORT_ASCENDING;
  std::function<void(Folder&)> sort = [&](Folder& folder) {
    std::vector<Folder*> sorted;
    for (auto& sub : folder.subfolders) sorted.push_back(sub.get());
    abbr_sort_folder_lst(sorted, column, library_order);
    std::vector<std::unique_ptr<Folder>> reordered;
    for (Folder* f : sorted) {
      auto owner = std::find_if(folder.subfolders.begin(), folder.subfolders.end(),
                                [f](const auto& p) { return p.get() == f; });
      reordered.push_back(std::move(*owner));
    }
    folder.subfolders = std::move(reordered);
    for (auto& sub : folder.subfolders) sort(*sub);
  };
  for (auto& top : ctx_.library.sandbox) sort(*top);
}

void MainWindow::restore_expanded_rows() {
  std::function<void(const Gtk::TreeModel::Children&)> walk = [&](const Gtk::TreeModel::Children& rows) {
    for (const auto& row : rows) {
      if (row[folder_columns_.expanded]) folder_view_.expand_row(folder_store_->get_path(row), false);
      walk(row.children());
    }
  };
  const bool was_filling = filling_;
  filling_ = true;
  walk(folder_store_->children());
  filling_ = was_filling;
}

void MainWindow::collect_expanded(const Gtk::TreeModel::Children& rows,
                                  std::vector<const Folder*>& out) const {
  for (const auto& row : rows) {
    if (const_cast<Gtk::TreeView&>(folder_view_).row_expanded(folder_store_->get_path(row))) {
      out.push_back(row[folder_columns_.folder]);
    }
    collect_expanded(row.children(), out);
  }
}

std::optional<Gtk::TreeModel::iterator> MainWindow::folder_row(const Folder* folder) const {
  std::optional<Gtk::TreeModel::iterator> found;
  folder_store_->foreach_iter([&](const Gtk::TreeModel::iterator& it) {
    if ((*it)[folder_columns_.folder] == folder) found = it;
    return found.has_value();
  });
  return found;
}

void MainWindow::select_folder(const Folder* folder) {
  auto row = folder_row(folder);
  if (!row) return;
  Gtk::TreeModel::Path path = folder_store_->get_path(*row);
  folder_view_.expand_to_path(path);
  folder_view_.get_selection()->unselect_all();
  folder_view_.set_cursor(path);
  folder_view_.get_selection()->select(path);
}

std::vector<Folder*> MainWindow::selected_folders() const {
  std::vector<Folder*> out;
  for (const auto& path : const_cast<Gtk::TreeView&>(folder_view_).get_selection()->get_selected_rows()) {
    out.push_back((*folder_store_->get_iter(path))[folder_columns_.folder]);
  }
  return out;
}

bool MainWindow::all_row_selected() const {
  return const_cast<Gtk::TreeView&>(folder_view_).get_selection()->is_selected(Gtk::TreePath("0"));
}

const Folder* MainWindow::selected_folder() const {
  std::vector<Folder*> selected = selected_folders();
  return selected.empty() ? nullptr : selected.front();
}

void MainWindow::reselect_folder() {
  if (const Folder* folder = selected_folder()) select_folder(folder);
  folder_view_.grab_focus();
}

void MainWindow::folder_selection_changed() {
  std::vector<Folder*> selected = selected_folders();
  const bool all_row = all_row_selected();
  if (!selected.empty()) {
    update_columns();
    show_folder(all_row ? nullptr : selected.front());
  } else {
    fill_list({});
  }
  search_state_.reset();
  FolderSensitivities s = folder_sensitivities(selected.size(), all_row);
  for (Gtk::Widget* w : folder_delete_buttons_) w->set_sensitive(s.delete_folder);
  for (Gtk::Widget* w : folder_action_widgets_) w->set_sensitive(s.folder_actions);
  menu_item("NewAbbreviation")->set_sensitive(s.folder_actions);
  menu_item("NewProgramLauncher")->get_parent()->set_sensitive(s.folder_actions);
  if (!s.folder_actions) {
    for (Gtk::Widget* w : abbrev_delete_buttons_) w->set_sensitive(false);
  }
  scroll_views_to_top();
  refresh_sort_arrows();
}

void MainWindow::show_folder(const Folder* folder) {
  last_folder_ = folder;
  std::vector<Abbreviation*> records;
  if (folder) {
    for (const auto& a : folder->abbreviations) records.push_back(a.get());
  } else {
    records = abbr_get_all_folders_and_abbrevs_from_folder_list(ctx_.library.sandbox).abbreviations;
  }
  list_presenter_.sort_records(records);
  fill_list(std::move(records));
}

void MainWindow::scroll_views_to_top() {
  if (list_view_.get_realized() && list_model_->size() > 0) {
    list_view_.scroll_to_row(Gtk::TreePath("0"));
  }
}

void MainWindow::clear_list_selection() {
  list_view_.get_selection()->unselect_all();
  folder_view_.grab_focus();
}

// ---------------------------------------------------------------- list

void MainWindow::fill_list(std::vector<Abbreviation*> records) {
  filling_ = true;
  // The same rows in another order (a sort) are moved in place: a new model costs the
  // view's accessible a signal per row as the old rows go and the new ones come.
  if (list_model_->reorder(records)) {
    list_view_.get_selection()->unselect_all();  // as a new model would have it
  } else {
    // A new model that no view watched while it was made: a list store filled (and later
    // emptied) row by row costs more than the listing itself.
    list_model_ = RecordListModel::create(std::move(records));
    list_view_.set_model(list_model_);
    refresh_sort_arrows();  // a new model takes the arrows away
  }
  filling_ = false;
  list_selection_changed();
}

std::vector<Abbreviation*> MainWindow::listed_records() const { return list_model_->records(); }

std::vector<Abbreviation*> MainWindow::selected_records() const {
  std::vector<Abbreviation*> out;
  for (const auto& path : const_cast<Gtk::TreeView&>(list_view_).get_selection()->get_selected_rows()) {
    out.push_back(list_model_->at(static_cast<size_t>(path[0])));
  }
  return out;
}

void MainWindow::list_selection_changed() {
  follow_textexpander_mode();
  std::vector<Abbreviation*> selected = selected_records();
  for (Gtk::Widget* w : abbrev_delete_buttons_) w->set_sensitive(!selected.empty());
  editor_frame_.set_sensitive(selected.size() == 1);
  if (selected.size() == 1) editor_frame_.show();
  if (editor_) editor_->presenter().show_selection(selected);
  if (on_selection_changed) on_selection_changed(selected);
}

void MainWindow::select_list_row(size_t index) {
  if (index >= list_model_->size()) return;
  Gtk::TreeModel::Path path(std::to_string(index));
  list_view_.get_selection()->unselect_all();
  list_view_.set_cursor(path);
  list_view_.scroll_to_row(path);
}

std::optional<size_t> MainWindow::list_row(const Abbreviation* record) const {
  const std::vector<Abbreviation*>& rows = list_model_->records();
  auto found = std::find(rows.begin(), rows.end(), record);
  if (found == rows.end()) return std::nullopt;
  return static_cast<size_t>(found - rows.begin());
}

void MainWindow::update_columns() {
  list_presenter_.update_columns({all_row_selected(), search_state_.duplicate_search()});
  const OptionalColumns& c = list_presenter_.columns();
  list_view_columns_[SORT_BY_FOLDER]->set_visible(c.folder);
  list_view_columns_[SORT_BY_CREATED]->set_visible(c.created);
  list_view_columns_[SORT_BY_MODIFIED]->set_visible(c.modified);
}

void MainWindow::refresh_sort_arrows() {
  for (auto& [id, column] : list_view_columns_) {
    const bool sorted = id == list_presenter_.sort().column;
    column->set_sort_indicator(sorted);
    if (sorted) column->set_sort_order(list_presenter_.sort().descending ? Gtk::SORT_DESCENDING : Gtk::SORT_ASCENDING);
  }
}

void MainWindow::header_clicked(int column) {
  std::vector<Abbreviation*> selected = selected_records();
  list_presenter_.header_clicked(column);
  folder_selection_changed();
  if (!selected.empty()) {
    if (auto row = list_row(selected.front())) list_view_.set_cursor(RecordListModel::path_of(*row));
  }
}

bool MainWindow::list_key_pressed(GdkEventKey* event) {
  const bool ctrl = (event->state & GDK_CONTROL_MASK) != 0;
  std::optional<TypeAheadSearch> search = type_ahead_.key_pressed(event->keyval, ctrl, event->time);
  if (!search || event->keyval < 0x20) return false;
  type_ahead_idle_.disconnect();
  type_ahead_idle_ = Glib::signal_idle().connect([this, s = *search] {
    std::optional<size_t> selected;
    std::vector<Gtk::TreeModel::Path> paths = list_view_.get_selection()->get_selected_rows();
    if (!paths.empty()) selected = static_cast<size_t>(paths.front()[0]);
    const std::vector<Abbreviation*>& rows = list_model_->records();
    const int column = list_presenter_.sort().column;
    std::optional<size_t> found = type_ahead_find(s, rows.size(), selected, [&](size_t i) {
      return column == SORT_BY_ABBREVIATION ? abbr_sort_key(*rows[i], column) : abbrev_column_text(*rows[i], column);
    });
    if (found) select_list_row(*found);
    return false;
  });
  return true;
}

// ---------------------------------------------------------------- EditorHost

void MainWindow::record_edited(Abbreviation& record, EditedField field) {
  std::optional<size_t> from = list_row(&record);
  if (!from) return;
  list_model_->changed(*from);
  const int column = list_presenter_.sort().column;
  const bool sorted_field = (field == EditedField::Description && column == SORT_BY_DESCRIPTION) ||
                            (field == EditedField::Abbreviation && column == SORT_BY_ABBREVIATION) ||
                            (field == EditedField::Expansion && column == SORT_BY_EXPANSION);
  if (!sorted_field) return;
  const std::vector<Abbreviation*>& rows = list_model_->records();
  const size_t to = list_presenter_.position_after_edit(
      std::vector<const Abbreviation*>(rows.begin(), rows.end()), *from);
  if (to == *from) return;
  filling_ = true;  // the selection moves with the row
  list_model_->move(*from, to);
  filling_ = false;
  list_view_.scroll_to_row(RecordListModel::path_of(to));
}

void MainWindow::show_conflicts(const std::string& text, const std::vector<Abbreviation*>& records) {
  search_state_.show_duplicates(text);
  fill_list(records);
  select_list_row(0);
}

// ---------------------------------------------------------------- search box

void MainWindow::set_search_text(const std::string& text) { search_.set_text(text); }

void MainWindow::search_mode_changed() {
  const int before = list_presenter_.sort().column;
  update_columns();
  if (list_presenter_.sort().column != before) refresh_sort_arrows();
}

void MainWindow::search_for(const std::string& text) {
  clear_key_buffer();
  std::vector<Folder*> selected = selected_folders();
  if (selected.empty()) {
    fill_list({});
    return;
  }
  std::vector<Abbreviation*> found = abbr_find_abbrevs_containing_string(
      ctx_.library.sandbox, all_row_selected() ? nullptr : selected.front(), text, nullptr,
      SEARCH_DESCRIPTION | SEARCH_ABBREVIATION | SEARCH_EXPANSION);
  list_presenter_.sort_records(found);
  fill_list(std::move(found));
}

}  // namespace tolvan::ui
