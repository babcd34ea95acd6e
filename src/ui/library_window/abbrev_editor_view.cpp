#include "ui/library_window/abbrev_editor_view.h"

#include <giomm/file.h>
#include <giomm/fileinfo.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/frame.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/separatormenuitem.h>

#include <filesystem>

#include "ui/library_window/labelled_field.h"

namespace tolvan::ui {
namespace {

constexpr const char* kProgramIcon = "application-x-executable";

void set_header(Gtk::Label& label, const char* markup) {
  label.set_markup_with_mnemonic(markup);
  label.set_halign(Gtk::ALIGN_START);
}

void set_field_label(Gtk::Label& label, const char* text, Gtk::Widget& field,
                     const Glib::RefPtr<Gtk::SizeGroup>& group) {
  label.set_text_with_mnemonic(text);
  label_field(label, field);
  // The size group widens the label; its text stays at the start.
  label.set_xalign(0);
  group->add_widget(label);
}

// The launcher's icon as the library keeps it: a shared Glib::RefPtr<Gio::Icon>, or none
// for a location that does not exist.
std::shared_ptr<const void> gio_icon_for(const std::string& path) {
  try {
    Glib::RefPtr<Gio::FileInfo> info = Gio::File::create_for_path(path)->query_info("standard::icon");
    if (Glib::RefPtr<Gio::Icon> icon = info ? info->get_icon() : Glib::RefPtr<Gio::Icon>(); icon)
      return std::make_shared<Glib::RefPtr<Gio::Icon>>(icon);
  } catch (const Glib::Error&) {
    // A missing or unreadable location simply has no icon of its own.
  }
  return nullptr;
}

// The folder a folder dialog starts in for `path`: the path when it is a folder, else the
// folder part of it.
std::string folder_of(const std::string& path) {
  std::error_code error;
  if (path.empty() || std::filesystem::is_directory(path, error)) return path;
  return std::filesystem::path(path).parent_path().string();
}

Gtk::MenuItem& add_item(Gtk::Menu& menu, const std::string& label, std::function<void()> on_activate) {
  auto* item = Gtk::manage(new Gtk::MenuItem(label, true));
  item->signal_activate().connect(std::move(on_activate));
  menu.append(*item);
  return *item;
}

}  // namespace

AbbrevEditorView::AbbrevEditorView(EditorHost& host, FolderList& sandbox, Settings& prefs,
                                   FileDialogs& dialogs, BrowserList& browsers, EditorServices services)
    : Gtk::Box(Gtk::ORIENTATION_VERTICAL, 2),
      dialogs_(dialogs),
      case_combo_(case_mode_table(false, false)),
      show_mode_(show_mode_table()),
      trigger_combo_(trigger_mode_table(false)) {
  if (!services.location_icon) services.location_icon = gio_icon_for;
  presenter_ = std::make_unique<AbbrevEditorPresenter>(static_cast<AbbrevEditorDisplay&>(*this), host, sandbox, prefs, std::move(services));
  browser_rows_ = presenter_->browsers(browsers);
  set_border_width(3);

  set_header(abbreviation_label_, "<b>_Abbreviation</b>");
  label_field(abbreviation_label_, abbreviation_);
  hide_.set_relief(Gtk::RELIEF_NONE);
  hide_.set_can_focus(false);
  hide_.set_size_request(14, 8);
  // The theme's button padding would make the header row twice as tall as its text.
  auto tight = Gtk::CssProvider::create();
  tight->load_from_data("button { padding: 0 2px; min-height: 0; min-width: 0; }");
  hide_.get_style_context()->add_provider(tight, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  hide_.set_tooltip_text("Hide the abbreviation editor (Esc).");
  header_.pack_start(abbreviation_label_, true, true);
  header_.pack_end(hide_, false, false);
  pack_start(header_, false, false);

  warning_.set_from_icon_name("dialog-warning", Gtk::ICON_SIZE_MENU);
  warning_box_.add(warning_);
  warning_box_.set_no_show_all(true);
  warning_.show();
  abbreviation_.set_width_chars(48);
  abbreviation_.set_max_length(256);
  abbreviation_row_.pack_start(warning_box_, false, false);
  abbreviation_row_.pack_start(abbreviation_, false, false);
  abbreviation_row_.pack_start(case_combo_, false, false);
  pack_start(abbreviation_row_, false, false);

  build_text_page();
  build_program_page();
  build_website_page();
  build_unsupported_page();
  pages_.set_show_tabs(false);
  pages_.set_show_border(false);
  pack_start(pages_, true, true);

  label_field(trigger_label_, trigger_combo_);
  trigger_label_.set_xalign(0);
  trigger_combo_.set_tooltip_markup(trigger_mode_tooltip());
  trigger_row_.pack_start(trigger_label_, false, false);
  trigger_row_.pack_start(trigger_combo_, false, false);
  trigger_row_.set_no_show_all(true);
  pack_start(trigger_row_, false, false);
  anywhere_.set_can_focus(false);
  anywhere_.set_no_show_all(true);
  anywhere_.set_tooltip_text(
      "If Anywhere Mode is enabled for this abbreviation, then you can type the abbreviation "
      "anywhere -- including directly after a letter or number -- and it will still be replaced.");
  pack_start(anywhere_, false, false);
  set_header(description_label_, "<b>_Description</b>");
  label_field(description_label_, description_);
  description_.set_width_chars(48);
  description_.set_halign(Gtk::ALIGN_START);
  description_.set_tooltip_text("A short description to help you identify this abbreviation.");
  pack_start(description_label_, false, false);
  pack_start(description_, false, false);

  // Rows that the look shows or hides keep their own contents shown, whatever show_all()
  // the main window does.
  for (Gtk::Container* row : std::initializer_list<Gtk::Container*>{&trigger_row_, &parameters_row_, &run_in_row_, &browser_row_})
    row->show_all_children();
  connect_fields();
  presenter_->show_selection({});
}

void AbbrevEditorView::build_text_page() {
  set_header(replacement_label_, "<b>_Replacement Text</b>");
  label_field(replacement_label_, replacement_);
  replacement_.set_left_margin(2);
  replacement_.set_wrap_mode(Gtk::WRAP_WORD_CHAR);
  auto* scrolled = Gtk::manage(new Gtk::ScrolledWindow);
  scrolled->set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
  scrolled->set_shadow_type(Gtk::SHADOW_IN);
  scrolled->set_min_content_height(60);
  scrolled->add(replacement_);
  insert_macro_.set_image_from_icon_name("insert-object", Gtk::ICON_SIZE_BUTTON);
  insert_macro_.set_can_focus(false);
  insert_macro_.set_valign(Gtk::ALIGN_START);
  insert_macro_.set_tooltip_text(
      "Choose a macro to insert. This macro will be replaced automatically when the replacement "
      "text is outputted.");
  insert_macro_.get_accessible()->set_name("Insert macro");
  auto* row = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 4));
  row->pack_start(*scrolled, true, true);
  row->pack_start(insert_macro_, false, false);
  text_page_.pack_start(replacement_label_, false, false);
  text_page_.pack_start(*row, true, true);
  pages_.append_page(text_page_);
}

void AbbrevEditorView::build_program_page() {
  auto* header = Gtk::manage(new Gtk::Label);
  set_header(*header, "<b>Program / File / Folder Launch Details</b>");
  program_page_.pack_start(*header, false, false);

  set_field_label(location_label_, "_Location: ", location_, program_labels_);
  location_.set_max_length(520);
  location_.set_tooltip_text("The location of the program, file, or folder you'd like to launch.");
  browse_location_.set_image_from_icon_name("document-open", Gtk::ICON_SIZE_BUTTON);
  browse_location_.set_can_focus(false);
  browse_location_.set_tooltip_text("Browse for the program, file, or folder you'd like to launch.");
  browse_location_.get_accessible()->set_name("Browse for location");
  run_as_admin_.set_label("Run As Ad_ministrator");
  run_as_admin_.set_use_underline(true);
  run_as_admin_.set_tooltip_text("Run the program with administrator privileges.");
  auto* location_row = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 4));
  location_row->pack_start(location_label_, false, false);
  location_row->pack_start(location_icon_, false, false);
  location_row->pack_start(location_, true, true);
  location_row->pack_start(browse_location_, false, false);
  location_row->pack_start(run_as_admin_, false, false);
  program_page_.pack_start(*location_row, false, false);

  set_field_label(parameters_label_, "Pa_rameters: ", parameters_, program_labels_);
  parameters_.set_tooltip_text("The parameters to pass to the launched program. Optional.");
  show_mode_.set_tooltip_text(
      "How the window of the program, file, or folder should be displayed when it is launched.");
  parameters_row_.pack_start(parameters_label_, false, false);
  parameters_row_.pack_start(parameters_, true, true);
  parameters_row_.pack_start(show_mode_, false, false);
  parameters_row_.set_no_show_all(true);
  program_page_.pack_start(parameters_row_, false, false);

  set_field_label(run_in_label_, "Run _in: ", run_in_, program_labels_);
  run_in_.set_max_length(520);
  run_in_.set_tooltip_text(
      "Advanced users may want to modify the working directory of the launched program. Optional.");
  browse_run_in_.set_image_from_icon_name("folder-open", Gtk::ICON_SIZE_BUTTON);
  browse_run_in_.set_can_focus(false);
  browse_run_in_.set_tooltip_text("Choose a run-in directory...");
  browse_run_in_.get_accessible()->set_name("Browse for run-in folder");
  run_in_row_.pack_start(run_in_label_, false, false);
  run_in_row_.pack_start(run_in_, true, true);
  run_in_row_.pack_start(browse_run_in_, false, false);
  run_in_row_.set_no_show_all(true);
  program_page_.pack_start(run_in_row_, false, false);
  pages_.append_page(program_page_);
}

void AbbrevEditorView::build_website_page() {
  auto* header = Gtk::manage(new Gtk::Label);
  set_header(*header, "<b>Website Launch Details</b>");
  website_page_.pack_start(*header, false, false);

  set_field_label(url_label_, "Website _URL: ", url_, website_labels_);
  url_.set_tooltip_text("The URL of the website you'd like to launch.");
  auto* url_row = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 4));
  url_row->pack_start(url_label_, false, false);
  url_row->pack_start(url_, true, true);
  website_page_.pack_start(*url_row, false, false);

  browser_store_ = Gtk::ListStore::create(browser_columns_);
  for (const BrowserRow& row : browser_rows_) {
    Gtk::TreeRow tree_row = *browser_store_->append();
    tree_row[browser_columns_.label] = row.label;
    tree_row[browser_columns_.icon] = row.icon_name;
  }
  browser_.set_model(browser_store_);
  browser_.pack_start(browser_icon_, false);
  browser_.add_attribute(browser_icon_.property_icon_name(), browser_columns_.icon);
  browser_.pack_start(browser_text_, true);
  browser_.add_attribute(browser_text_.property_text(), browser_columns_.label);
  browser_.set_row_separator_func([this](const Glib::RefPtr<Gtk::TreeModel>&, const Gtk::TreeModel::iterator& it) {
    return Glib::ustring((*it)[browser_columns_.label]).empty();
  });
  browser_.set_tooltip_text(
      "The browser you'd like the website to be opened with. You can leave this set at 'Default "
      "Browser' to have the website open with the default browser you usually use on the system.");
  set_field_label(browser_label_, "Open _with: ", browser_, website_labels_);
  browser_row_.pack_start(browser_label_, false, false);
  browser_row_.pack_start(browser_, false, false);
  browser_row_.set_no_show_all(true);
  website_page_.pack_start(browser_row_, false, false);
  pages_.append_page(website_page_);
}

void AbbrevEditorView::build_unsupported_page() {
  auto* frame = Gtk::manage(new Gtk::Frame);
  notice_.set_markup(kUnsupportedInitialNotice);
  notice_.set_justify(Gtk::JUSTIFY_CENTER);
  notice_.set_line_wrap(true);
  notice_.set_margin_top(6);
  notice_.set_margin_bottom(6);
  frame->add(notice_);
  frame->set_halign(Gtk::ALIGN_CENTER);
  frame->set_valign(Gtk::ALIGN_CENTER);
  pages_.append_page(*frame);
}

void AbbrevEditorView::connect_fields() {
  AbbrevEditorPresenter& p = *presenter_;
  hide_.signal_clicked().connect([this] { visibility_wanted_.emit(false); });
  abbreviation_.signal_changed().connect([this, &p] { p.abbreviation_changed(abbreviation_.get_text()); });
  description_.signal_changed().connect([this, &p] { p.description_changed(description_.get_text()); });
  // A derived description is selected whole by the first click, so typing replaces it.
  description_.signal_button_press_event().connect(
      [this, &p](GdkEventButton*) {
        if (!p.description_click_selects_all() || description_.has_focus()) return false;
        description_.grab_focus();
        description_.select_region(0, -1);
        return true;
      },
      false);
  replacement_.get_buffer()->signal_changed().connect(
      [this, &p] { p.replacement_changed(replacement_.get_buffer()->get_text()); });
  case_combo_.signal_changed().connect([this, &p] { p.case_mode_chosen(case_combo_.selected_id()); });
  trigger_combo_.signal_changed().connect([this, &p] { p.trigger_mode_chosen(trigger_combo_.selected_id()); });
  anywhere_.signal_toggled().connect([this, &p] { p.anywhere_toggled(anywhere_.get_active()); });
  location_.signal_changed().connect([this, &p] {
    const std::string text = location_.get_text();
    if (std::optional<std::string> stored = p.location_changed(text)) {
      location_.set_text(*stored);
      return;
    }
    show_location_icon(text);
  });
  parameters_.signal_changed().connect([this, &p] { p.parameters_changed(parameters_.get_text()); });
  run_in_.signal_changed().connect([this, &p] {
    if (std::optional<std::string> stored = p.run_in_changed(run_in_.get_text())) run_in_.set_text(*stored);
  });
  show_mode_.signal_changed().connect([this, &p] { p.show_mode_chosen(show_mode_.selected_id()); });
  run_as_admin_.signal_toggled().connect([this, &p] { p.run_as_admin_toggled(run_as_admin_.get_active()); });
  url_.signal_changed().connect([this, &p] { p.url_changed(url_.get_text()); });
  browser_.signal_changed().connect([this, &p] {
    const int row = browser_.get_active_row_number();
    if (row >= 0) p.browser_chosen(browser_rows_[static_cast<size_t>(row)].value);
  });
  warning_box_.signal_button_press_event().connect([&p](GdkEventButton* event) {
    if (event->type != GDK_2BUTTON_PRESS) return false;
    p.duplicate_warning_activated();
    return true;
  });
  insert_macro_.signal_clicked().connect([this] { pop_up_macro_menu(); });
  browse_location_.signal_clicked().connect([this] { pop_up_location_menu(); });
  browse_run_in_.signal_clicked().connect([this] { browse_run_in(); });
}

Gtk::Menu& AbbrevEditorView::pop_up_macro_menu() {
  // Built afresh each time: the presets show the date and time of the moment.
  std::function<void(Gtk::Menu&, const std::vector<MacroMenuItem>&)> build =
      [&](Gtk::Menu& menu, const std::vector<MacroMenuItem>& items) {
        for (const MacroMenuItem& item : items) {
          if (item.is_separator()) {
            menu.append(*Gtk::manage(new Gtk::SeparatorMenuItem));
          } else if (!item.submenu.empty()) {
            auto& parent = add_item(menu, item.label, [] {});
            auto* submenu = Gtk::manage(new Gtk::Menu);
            build(*submenu, item.submenu);
            parent.set_submenu(*submenu);
          } else {
            const std::string macro = presenter_->macro_to_insert(item);
            add_item(menu, item.label, [this, macro] {
              replacement_.get_buffer()->insert_at_cursor(macro);
              replacement_.grab_focus();
            });
          }
        }
      };
  macro_menu_ = std::make_unique<Gtk::Menu>();
  build(*macro_menu_, presenter_->macro_menu());
  macro_menu_->attach_to_widget(insert_macro_);
  macro_menu_->show_all();
  macro_menu_->popup_at_widget(&insert_macro_, Gdk::GRAVITY_SOUTH_WEST, Gdk::GRAVITY_NORTH_WEST, nullptr);
  return *macro_menu_;
}

void AbbrevEditorView::pop_up_location_menu() {
  location_menu_ = std::make_unique<Gtk::Menu>();
  auto browse_file = [this](const char* title, FileFilter filter, bool program) {
    std::optional<std::string> chosen = dialogs_.browse_for_file({title, {std::move(filter)}, location_.get_text()});
    if (!chosen) return;
    location_.set_text(*chosen);
    if (program) presenter_->program_browsed();
  };
  add_item(*location_menu_, "Browse for _program...",
           [=] { browse_file("Browse for program", {"Programs", {"*"}}, true); });
  add_item(*location_menu_, "Browse for _file...", [=] { browse_file("Browse for file", {"All Files", {"*"}}, false); });
  add_item(*location_menu_, "Browse for f_older...", [this] {
    std::optional<std::string> chosen =
        dialogs_.browse_for_folder("Please select a folder.", folder_of(location_.get_text()));
    if (!chosen) return;
    location_.set_text(*chosen);
    run_in_.set_text("");
  });
  location_menu_->attach_to_widget(browse_location_);
  location_menu_->show_all();
  location_menu_->popup_at_widget(&browse_location_, Gdk::GRAVITY_SOUTH_WEST, Gdk::GRAVITY_NORTH_WEST, nullptr);
}

void AbbrevEditorView::browse_run_in() {
  const std::string start = run_in_.get_text().empty() ? folder_of(location_.get_text()) : folder_of(run_in_.get_text());
  if (std::optional<std::string> chosen = dialogs_.browse_for_folder("Please select a folder.", start))
    run_in_.set_text(*chosen);
}

void AbbrevEditorView::show_location_icon(const std::string& path) {
  Abbreviation* record = presenter_->record();
  std::shared_ptr<const void> cached =
      record && record->type() == ABBR_TYPE_PROGRAM ? record->program().icon : gio_icon_for(path);
  if (cached) {
    const auto& icon = *static_cast<const Glib::RefPtr<Gio::Icon>*>(cached.get());
    gtk_image_set_from_gicon(location_icon_.gobj(), icon->gobj(), GTK_ICON_SIZE_MENU);
  } else {
    location_icon_.set_from_icon_name(kProgramIcon, Gtk::ICON_SIZE_MENU);
  }
}

void AbbrevEditorView::set_look(const EditorLook& look) {
  case_combo_.set_table(look.case_table);
  case_combo_.set_tooltip_markup(look.case_tooltip);
  trigger_combo_.set_table(look.trigger_table);
  abbreviation_.set_tooltip_text(look.abbreviation_tooltip);
  trigger_label_.set_text_with_mnemonic(look.trigger_label);
  label_field(trigger_label_, trigger_combo_);
  trigger_row_.set_visible(look.trigger_row_shown);
  anywhere_.set_visible(look.anywhere_shown);
  for (Gtk::Box* row : {&parameters_row_, &run_in_row_, &browser_row_}) row->set_visible(look.advanced_rows_shown);
  // In advanced view the launchers' short trigger label lines up with the page's labels.
  Glib::RefPtr<Gtk::SizeGroup> group;
  if (look.advanced_rows_shown && look.page == EditorPage::Program) group = program_labels_;
  if (look.advanced_rows_shown && look.page == EditorPage::Website) group = website_labels_;
  if (trigger_label_group_ != group) {
    if (trigger_label_group_) trigger_label_group_->remove_widget(trigger_label_);
    if (group) group->add_widget(trigger_label_);
    trigger_label_group_ = group;
  }
  pages_.set_current_page(static_cast<int>(look.page));
}

void AbbrevEditorView::set_entry(Gtk::Entry& entry, const std::string& text) {
  if (entry.get_text() != text) entry.set_text(text);
}

void AbbrevEditorView::fill(const EditorContents& c) {
  set_entry(abbreviation_, c.abbreviation);
  set_entry(description_, c.description);
  replacement_.get_buffer()->set_text(c.replacement);
  set_entry(location_, c.location);
  show_location_icon(c.location);
  set_entry(parameters_, c.parameters);
  set_entry(run_in_, c.run_in);
  show_mode_.select_id(c.show_mode);
  run_as_admin_.set_active(c.run_as_admin);
  set_entry(url_, c.url);
  browser_.set_active(static_cast<int>(browser_row_index(browser_rows_, c.browser)));
  notice_.set_markup(c.notice.empty() ? kUnsupportedInitialNotice : c.notice);
  trigger_combo_.select_id(c.trigger_mode);
  case_combo_.select_id(c.case_mode);
  anywhere_.set_active(c.anywhere);
}

void AbbrevEditorView::show_description(const std::string& text) { set_entry(description_, text); }

void AbbrevEditorView::show_duplicate_warning(const std::optional<std::string>& tooltip) {
  warning_box_.set_visible(tooltip.has_value());
  warning_box_.set_tooltip_text(tooltip.value_or(""));
}

void AbbrevEditorView::set_launch_details_sensitive(bool sensitive) {
  for (Gtk::Widget* w : std::initializer_list<Gtk::Widget*>{&parameters_, &run_in_, &browse_run_in_, &show_mode_, &run_as_admin_})
    w->set_sensitive(sensitive);
}

void AbbrevEditorView::set_editor_state(bool shown, bool sensitive) {
  set_sensitive(sensitive);
  visibility_wanted_.emit(shown);
}

void AbbrevEditorView::offer_run_as_administrator(bool offered) {
  run_as_admin_.set_no_show_all(!offered);
  run_as_admin_.set_visible(offered);
}

void AbbrevEditorView::focus_abbreviation() { abbreviation_.grab_focus(); }

}  // namespace tolvan::ui
