#include "ui/preferences_window.h"

#include <glibmm/main.h>
#include <glibmm/markup.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/separator.h>

#include "core/paths.h"
#include "launch/app_hotkeys.h"
#include "launch/hotkey_conflicts.h"
#include "presenters/preferences/prefs_window_look.h"
#include "ui/library_window/labelled_field.h"
#include "ui/widget_behaviours.h"

namespace tolvan::ui {
namespace {

// Written without its scheme: a line may break inside "https://".
constexpr const char* kDropboxAddress = "www.dropbox.com";

struct HotkeyRowTexts {
  const char* label;
  const char* tooltip;
};
// In the order of app_hotkey_rows().
constexpr std::array<HotkeyRowTexts, 4> kHotkeyRowTexts{{
    {"LaunchPad: ",
     "Displays the LaunchPad, in which program, file, folder, and website launcher abbreviations "
     "can be typed."},
    {"Pop up menu showing folders / abbreviations: ",
     "Displays a context menu next to the mouse cursor containing all of your folders and "
     "abbreviations (which can be clicked)."},
    {"Toggle status (enabled / disabled): ", "Enables Tolvan if it's disabled and disables Tolvan if it's enabled."},
    {"Show main window: ", "Shows Tolvan's main window."},
}};

void tip(Gtk::Widget& widget, const std::string& markup) { widget.set_tooltip_markup(markup); }

// The tooltip's text as markup: the texts are plain, so their angle brackets and
// ampersands are escaped.
std::string plain(const std::string& text) { return Glib::Markup::escape_text(text); }

void setup_spin(Gtk::SpinButton& spin, double low, double high) {
  spin.set_range(low, high);
  spin.set_increments(1, 10);
  spin.set_numeric(true);
  spin.set_digits(0);
}

Gtk::Label* note(const std::string& markup) {
  auto* label = Gtk::make_managed<Gtk::Label>();
  label->set_markup(markup);
  label->set_line_wrap(true);
  label->set_max_width_chars(70);
  label->set_xalign(0);
  return label;
}

Gtk::Label* heading(const char* text) {
  auto* label = Gtk::make_managed<Gtk::Label>(text);
  label->set_xalign(0);
  return label;
}

Gtk::Box* row(int spacing = 6) { return Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL, spacing); }

void indent(Gtk::Widget& widget) { widget.set_margin_start(24); }

void pack_indented(Gtk::Box& page, std::initializer_list<Gtk::Widget*> widgets) {
  for (Gtk::Widget* widget : widgets) {
    indent(*widget);
    page.pack_start(*widget, false, false);
  }
}

// A heading, then two radio buttons of one group under it.
void add_choice(Gtk::Box& page, const char* heading_text, Gtk::RadioButton& first, const char* first_tip,
                Gtk::RadioButton& second, const char* second_tip) {
  page.pack_start(*heading(heading_text), false, false);
  second.join_group(first);
  first.set_tooltip_markup(first_tip);
  second.set_tooltip_markup(second_tip);
  pack_indented(page, {&first, &second});
}

void icon_button(Gtk::Button& button, const char* icon, const char* tooltip, const char* name) {
  button.set_image_from_icon_name(icon, Gtk::ICON_SIZE_BUTTON);
  button.set_tooltip_text(tooltip);
  button.get_accessible()->set_name(name);
}

std::vector<std::string> lines_of(const Glib::ustring& text) {
  std::vector<std::string> lines;
  std::string rest = text;
  size_t start = 0;
  while (start <= rest.size()) {
    const size_t end = std::min(rest.find('\n', start), rest.size());
    lines.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void show_lines(Gtk::TextView& view, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  view.get_buffer()->set_text(text);
}

}  // namespace

PreferencesWindow::PreferencesWindow(PreferencesWindowDeps deps)
    : deps_(std::move(deps)),
      case_combo_(prefs_mode_look(false).case_table),
      trigger_combo_(prefs_mode_look(false).trigger_table),
      buttons_([this] { on_ok(); }, [this] { on_cancel(); }, nullptr) {
  set_title("Preferences");
  set_resizable(false);
  set_modal(true);
  set_border_width(3);
  set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  set_type_hint(Gdk::WINDOW_TYPE_HINT_DIALOG);

  build_general_page();
  build_cool_stuff_page();
  build_interface_page();
  build_hotkeys_page();
  build_dropbox_page();
  build_backups_page();
  build_proxy_page();

  tip(te_mode_,
      plain("Recommended only for those accustomed to using TextExpander on the Mac, and/or those "
            "about to import their TextExpander snippet files.\n\nWhen this mode is enabled, Tolvan "
            "will look and behave more like TextExpander."));
  // The look changes once the toggle's own handling is over, as the box's click ends.
  te_mode_.signal_toggled().connect([this] {
    Glib::signal_idle().connect_once([this] {
      set_te_look(te_mode_.get_active());
      update_sensitivity();
    });
  });
  foot_.pack_start(te_mode_, false, false);
  foot_.pack_end(buttons_, false, false);

  // The TextExpander look hides rows; the window keeps its size rather than jump.
  ui_widget_disallow_shrink(notebook_);
  layout_.pack_start(notebook_, true, true);
  layout_.pack_start(foot_, false, false);
  add(layout_);
  layout_.show_all();
  set_te_look(false);
  fill(prefs_form_from_prefs(deps_.prefs, deps_.steps.starts_at_login()));
}

Gtk::Box& PreferencesWindow::add_page(const char* title) {
  auto* page = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_VERTICAL, 6);
  page->set_border_width(10);
  notebook_.append_page(*page, title);
  return *page;
}

void PreferencesWindow::build_general_page() {
  Gtk::Box& page = add_page("General");
  auto* grid = Gtk::make_managed<Gtk::Grid>();
  grid->set_row_spacing(6);
  grid->set_column_spacing(6);
  case_label_.set_use_underline(true);
  trigger_label_.set_use_underline(true);
  for (Gtk::Label* label : {&case_label_, &trigger_label_}) label->set_xalign(0);
  grid->attach(case_label_, 0, 0);
  grid->attach(case_combo_, 1, 0);
  grid->attach(trigger_label_, 0, 1);
  grid->attach(trigger_combo_, 1, 1);
  page.pack_start(*grid, false, false);
  trigger_combo_.signal_changed().connect([this] { update_sensitivity(); });

  page.pack_start(*Gtk::make_managed<Gtk::Separator>(), false, false);

  for (const HotkeyKeyChoice& key : trigger_key_choices()) trigger_key_.append(std::string(key.name));
  trigger_key_row_.pack_start(trigger_key_label_, false, false);
  trigger_key_row_.pack_start(trigger_key_, false, false);
  label_field(trigger_key_label_, trigger_key_);
  tip(trigger_key_,
      "If an abbreviation has its replacement mode set to <b>trigger key</b>, this key must be "
      "pressed immediately after the abbreviation is typed in order for a replacement to "
      "occur.\n\nIf pressed immediately after an abbreviation is typed, this key will be "
      "\"discarded\" and will not be displayed.");
  page.pack_start(trigger_key_row_, false, false);

  delim_label_.set_use_underline(true);
  ui_restrict_entry_chars(delim_entry_, [](gunichar c) { return !delim_entry_refuses(c); });
  delim_reset_.set_image_from_icon_name("edit-undo", Gtk::ICON_SIZE_BUTTON);
  delim_reset_.get_accessible()->set_name("Reset");
  delim_reset_.signal_clicked().connect([this] { reset_delim_chars(); });
  Gtk::Box* delims = row();
  delims->pack_start(delim_label_, false, false);
  delims->pack_start(delim_entry_, true, true);
  for (Gtk::CheckButton* box : {&delim_space_, &delim_tab_, &delim_enter_, &delim_escape_})
    delims->pack_start(*box, false, false);
  delims->pack_start(delim_reset_, false, false);
  page.pack_start(*delims, false, false);

  tip(start_at_login_,
      plain("If checked, Tolvan will start itself automatically (minimized to the system tray) "
            "whenever you log in."));
  page.pack_start(start_at_login_, false, false);

  tip(uc_check_,
      plain("If checked, Tolvan will automatically check for updates and will notify you if a new "
            "version is available. Recommended."));
  setup_spin(uc_days_, 1, 100);
  tip(uc_days_, "The number of days between automatic update checks.");
  uc_days_.get_accessible()->set_name("Days between update checks");
  Gtk::Box* updates = row();
  updates->pack_start(uc_check_, false, false);
  updates->pack_start(uc_days_, false, false);
  updates->pack_start(*Gtk::make_managed<Gtk::Label>("days"), false, false);
  page.pack_start(*updates, false, false);
}

void PreferencesWindow::build_cool_stuff_page() {
  Gtk::Box& page = add_page("Cool Stuff");
  add_choice(page, "Output method:", output_keys_,
             "If this method is enabled, Tolvan outputs the replacement text by simulating actual "
             "key presses. For most users, this method is the best choice.",
             output_clipboard_,
             "If this method is enabled, Tolvan outputs the replacement text by using the "
             "clipboard to simulate a copy and paste operation.");
  setup_spin(clipboard_chars_, 1, 9999);
  clipboard_chars_.get_accessible()->set_name("Characters before the clipboard is used");
  const std::string more_than_tip =
      "Tells Tolvan to use the \"key press simulation\" output method except when the number of "
      "characters in the replacement text exceeds the number you specify in the provided field, "
      "in which case it will use the \"clipboard\" output method.";
  tip(clipboard_more_than_, more_than_tip);
  tip(clipboard_chars_, more_than_tip);
  Gtk::Box* more_than = row();
  more_than->pack_start(clipboard_more_than_, false, false);
  more_than->pack_start(clipboard_chars_, false, false);
  more_than->pack_start(*Gtk::make_managed<Gtk::Label>("characters"), false, false);
  page.pack_start(*more_than, false, false);
  tip(clipboard_restore_, "Restores the original clipboard contents after the replacement text has been pasted.");
  page.pack_start(clipboard_restore_, false, false);
  for (Gtk::ToggleButton* b : {static_cast<Gtk::ToggleButton*>(&output_clipboard_),
                               static_cast<Gtk::ToggleButton*>(&clipboard_more_than_)})
    b->signal_toggled().connect([this] { update_sensitivity(); });

  tip(cont_window_changed_,
      "By default, Tolvan will stop outputting the replacement text if it detects that the active "
      "window changes while the text is being outputted (a new window pops-up, etc).\n\nIf you "
      "enable this option, Tolvan won't stop outputting the replacement text if the active window "
      "changes while it is outputting. This allows you to use Tolvan to display new windows (such "
      "as the search dialog in your text editor with, perhaps, %(Key Ctrl+F)) and continue "
      "outputting the text in said window(s).");
  page.pack_start(cont_window_changed_, false, false);
  tip(play_sound_, "Check this to make Tolvan play a \"pop\" sound when you type an abbreviation.");
  page.pack_start(play_sound_, false, false);

  show_tooltips_.set_use_underline(true);
  page.pack_start(show_tooltips_, false, false);
  tip(tooltips_trigger_, "Show tooltips if an abbreviation requiring the trigger key to be pressed is typed.");
  tip(tooltips_wec_, "Show tooltips if an abbreviation requiring a word-ending character to be typed is typed.");
  pack_indented(page, {&tooltips_trigger_, &tooltips_wec_});
  tip(dont_tooltip_invalid_cursor_,
      "If the focused application you are typing the abbreviation doesn't return the correct "
      "coordinates of the cursor and this option is enabled, the tooltip will not be shown.");
  page.pack_start(dont_tooltip_invalid_cursor_, false, false);

  add_class_list(page, terminals_label_, terminals_,
                 "Terminals take Ctrl+V as a key for the program running inside them, so Tolvan "
                 "pastes into these windows with Shift+Ctrl+V. Each line is a window class (as "
                 "<b>xprop WM_CLASS</b> shows it); case does not matter.");
  add_class_list(page, primary_pasters_label_, primary_pasters_,
                 "X terminals such as xterm bind no Ctrl key to pasting as they come; Tolvan puts "
                 "the text in the selection as well and pastes it with Shift+Insert. These windows "
                 "come before the terminal list. Each line is a window class (as <b>xprop "
                 "WM_CLASS</b> shows it); case does not matter.");
  add_class_list(page, lazy_inputs_label_, lazy_inputs_,
                 "Some applications (LibreOffice) set typed characters aside while more keys "
                 "wait, so a Backspace or a Return that follows can overtake them. Tolvan gives "
                 "these windows a moment where that could happen. Each line is a "
                 "window class (as <b>xprop WM_CLASS</b> shows it); case does not matter.");
}

void PreferencesWindow::add_class_list(Gtk::Box& page, Gtk::Label& label, Gtk::TextView& view,
                                       const char* tooltip) {
  label.set_xalign(0);
  label_field(label, view);
  tip(view, tooltip);
  auto* scroller = Gtk::make_managed<Gtk::ScrolledWindow>();
  scroller->set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
  scroller->set_shadow_type(Gtk::SHADOW_IN);
  scroller->set_size_request(-1, 70);
  scroller->add(view);
  page.pack_start(label, false, false);
  page.pack_start(*scroller, false, false);
}

void PreferencesWindow::build_interface_page() {
  Gtk::Box& page = add_page("Interface");
  add_choice(page, "Abbreviation editor view:", normal_view_,
             "Normal editor view. Some options will be hidden.", advanced_view_,
             "Makes visible some options hidden in Normal mode.");
  page.pack_start(*heading("Optional columns in abbreviation view:"), false, false);
  tip(created_col_, "Show the creation time of each abbreviation.");
  tip(modified_col_, "Show the modification time of each abbreviation.");
  tip(contfol_col_, "Show the folder that the abbreviation is located in (when applicable).");
  pack_indented(page, {&created_col_, &modified_col_, &contfol_col_});
  tip(remember_folder_,
      "If checked, when Tolvan loads will remember what folder was selected before it was last "
      "closed and select it.");
  tip(bottom_buttons_,
      "Causes the new folder/abbreviation/launcher buttons to also show at the bottom of the main "
      "window.");
  page.pack_start(remember_folder_, false, false);
  page.pack_start(bottom_buttons_, false, false);
}

void PreferencesWindow::build_hotkeys_page() {
  Gtk::Box& page = add_page("Hotkeys");
  auto* grid = Gtk::make_managed<Gtk::Grid>();
  grid->set_row_spacing(6);
  grid->set_column_spacing(12);
  for (size_t i = 0; i < hotkey_rows_.size(); ++i) {
    HotkeyRowControls& controls = hotkey_rows_[i];
    controls.enable.set_label(kHotkeyRowTexts[i].label);
    tip(controls.enable, plain(kHotkeyRowTexts[i].tooltip));
    controls.keys.key_combo().get_accessible()->set_name(std::string(kHotkeyRowTexts[i].label) + "key");
    controls.warning.set_from_icon_name("dialog-warning", Gtk::ICON_SIZE_BUTTON);
    controls.warning.set_no_show_all(true);
    controls.enable.signal_toggled().connect([this] {
      update_sensitivity();
      update_hotkey_warnings();
    });
    controls.keys.signal_changed().connect([this] { update_hotkey_warnings(); });
    const int r = static_cast<int>(i);
    grid->attach(controls.enable, 0, r);
    grid->attach(controls.keys, 1, r);
    grid->attach(controls.warning, 2, r);
  }
  page.pack_start(*grid, false, false);
  add_choice(page, "Pop-up menu placement:", acm_mouse_,
             "Pop-up menu will be positioned at the mouse pointer location.", acm_keyboard_,
             "Pop-up menu will be positioned at the keyboard cursor location if possible.");
}

void PreferencesWindow::build_dropbox_page() {
  Gtk::Box& page = add_page("Dropbox Sync");
  tip(use_sync_, plain(std::string("Select this if you'd like Tolvan to sync all of your abbreviations "
                                   "between multiple computers with Dropbox (") +
                       kDropboxAddress + ")."));
  page.pack_start(use_sync_, false, false);
  page.pack_start(*note(std::string("<i>Don't have Dropbox installed? It's free, easy to use, and setup "
                                    "takes just a couple of minutes. Visit ") +
                        kDropboxAddress +
                        " to download.\n\nFor best results, make sure Dropbox is installed and "
                        "running on this computer before enabling Dropbox sync.</i>"),
                  false, false);
  label_field(sync_folder_label_, sync_folder_);
  tip(sync_folder_,
      "Dropbox folder location.\n\nClick the green arrow next to this field and Tolvan will "
      "auto-detect your Dropbox folder location for you.");
  icon_button(detect_dropbox_, "go-next", "Auto-detect your Dropbox folder location.", "Auto-detect");
  icon_button(browse_dropbox_, "folder-open", "Browse for your Dropbox folder.", "Browse");
  detect_dropbox_.signal_clicked().connect([this] { detect_dropbox_folder(); });
  browse_dropbox_.signal_clicked().connect([this] { browse_dropbox_folder(); });
  Gtk::Box* folder = row();
  folder->pack_start(sync_folder_label_, false, false);
  folder->pack_start(sync_folder_, true, true);
  folder->pack_start(detect_dropbox_, false, false);
  folder->pack_start(browse_dropbox_, false, false);
  page.pack_start(*folder, false, false);
  add_choice(page, "Sync mode:", sync_norm_,
             "Recommended for all users except those who also have a Mac with TextExpander "
             "installed and Dropbox sync enabled.",
             sync_te_,
             "Recommended for users who also have Macs with TextExpander installed and Dropbox "
             "sync enabled.");
  page.pack_start(*note("<i>Note: We recommend enabling Dropbox sync in TextExpander first.</i>"), false, false);
}

void PreferencesWindow::build_backups_page() {
  Gtk::Box& page = add_page("Backups");
  page.pack_start(auto_backup_, false, false);
  page.pack_start(*note("<i>While you are not required to change the backup directory below, if you "
                        "have an additional hard drive, we recommend setting the backup directory "
                        "to a directory on that drive.</i>"),
                  false, false);
  label_field(backup_dir_label_, backup_dir_);
  tip(backup_dir_, "The directory in which Tolvan will save backups to.");
  icon_button(browse_backup_, "folder-open", "Browse for the backup directory.", "Browse");
  browse_backup_.signal_clicked().connect([this] { browse_backup_folder(); });
  Gtk::Box* folder = row();
  folder->pack_start(backup_dir_label_, false, false);
  folder->pack_start(backup_dir_, true, true);
  folder->pack_start(browse_backup_, false, false);
  page.pack_start(*folder, false, false);
  setup_spin(backup_count_, 1, 9999);
  backup_count_.get_accessible()->set_name("Most backups kept");
  tip(limit_backups_,
      "Enable this and Tolvan will make sure that no more than X backups are on disk at any point "
      "in time, X being the value in the entry field next to this check box.\n\nFor example, if "
      "you set the entry field to 5, then if 5 backups are saved and another one is about to be "
      "saved, Tolvan will delete the oldest backup file before saving the backup, so that the "
      "total number of backups remains at 5.");
  tip(backup_count_,
      "Tolvan will make sure that no more than X backups are on disk at any point in time, X "
      "being the value in this field.\n\nFor example, if you set this field to 5, and check the "
      "box next to this field, then if 5 backups are saved and another one is about to be saved, "
      "Tolvan will delete the oldest backup file before saving the backup, so that the total "
      "number of backups remains at 5.");
  Gtk::Box* limit = row();
  limit->pack_start(limit_backups_, false, false);
  limit->pack_start(backup_count_, false, false);
  page.pack_start(*limit, false, false);
}

void PreferencesWindow::build_proxy_page() {
  Gtk::Box& page = add_page("Proxy");
  tip(proxy_use_,
      "If you need to use a proxy server to access the internet, you should select this so that "
      "automatic update checking and the 'Ask Us a Question' feature works properly.");
  proxy_use_.signal_toggled().connect([this] { update_sensitivity(); });
  page.pack_start(proxy_use_, false, false);
  setup_spin(proxy_port_, 1, 999999);
  proxy_password_.set_visibility(false);
  proxy_fields_.set_row_spacing(6);
  proxy_fields_.set_column_spacing(6);
  indent(proxy_fields_);
  int r = 0;
  for (auto [label, field] : {std::pair<Gtk::Label*, Gtk::Widget*>{&proxy_host_label_, &proxy_host_},
                              {&proxy_port_label_, &proxy_port_},
                              {&proxy_user_label_, &proxy_user_},
                              {&proxy_password_label_, &proxy_password_}}) {
    label->set_xalign(0);
    label_field(*label, *field);
    proxy_fields_.attach(*label, 0, r);
    proxy_fields_.attach(*field, 1, r);
    ++r;
  }
  page.pack_start(proxy_fields_, false, false);
}

PrefsForm PreferencesWindow::form() const {
  PrefsForm form;
  form.default_case_mode = case_combo_.selected_id();
  form.default_trigger_mode = trigger_combo_.selected_id();
  const int key = trigger_key_.get_active_row_number();
  form.trigger_hotkey = key < 0 ? 0 : trigger_key_choices()[static_cast<size_t>(key)].vk;
  form.delim_entry = delim_entry_.get_text();
  form.delim_space = delim_space_.get_active();
  form.delim_tab = delim_tab_.get_active();
  form.delim_enter = delim_enter_.get_active();
  form.delim_escape = delim_escape_.get_active();
  form.start_at_login = start_at_login_.get_active();
  form.uc_check = uc_check_.get_active();
  form.uc_check_days = uc_days_.get_value_as_int();

  form.output_clipboard = output_clipboard_.get_active();
  form.use_clipboard_more_than = clipboard_more_than_.get_active();
  form.clipboard_more_than_chars = clipboard_chars_.get_value_as_int();
  form.clipboard_restore = clipboard_restore_.get_active();
  form.cont_window_changed = cont_window_changed_.get_active();
  form.play_sound = play_sound_.get_active();
  form.show_tooltips = show_tooltips_.get_active();
  form.show_tooltips_trigger = tooltips_trigger_.get_active();
  form.show_tooltips_wec = tooltips_wec_.get_active();
  form.dont_tooltip_invalid_cursor = dont_tooltip_invalid_cursor_.get_active();
  form.terminal_classes = lines_of(terminals_.get_buffer()->get_text());
  form.primary_paste_classes = lines_of(primary_pasters_.get_buffer()->get_text());
  form.lazy_input_classes = lines_of(lazy_inputs_.get_buffer()->get_text());

  form.adv_view = advanced_view_.get_active();
  form.created_col = created_col_.get_active();
  form.modified_col = modified_col_.get_active();
  form.contfol_col = contfol_col_.get_active();
  form.remember_sel_folder = remember_folder_.get_active();
  form.show_bottom_buttons = bottom_buttons_.get_active();

  for (size_t i = 0; i < hotkey_rows_.size(); ++i)
    form.hotkeys[i] = {hotkey_rows_[i].enable.get_active(), hotkey_rows_[i].keys.hotkey()};
  form.acm_at_keyboard = acm_keyboard_.get_active();

  form.use_sync = use_sync_.get_active();
  form.sync_folder = sync_folder_.get_text();
  form.sync_te = sync_te_.get_active();

  form.auto_backup = auto_backup_.get_active();
  form.backup_dir = relativify_path_if_necessary(backup_dir_.get_text(), deps_.gvar);
  form.limit_total_backup = limit_backups_.get_active();
  form.backup_max_count = backup_count_.get_value_as_int();

  form.proxy_use = proxy_use_.get_active();
  form.proxy_host = proxy_host_.get_text();
  form.proxy_port = proxy_port_.get_value_as_int();
  form.proxy_username = proxy_user_.get_text();
  form.proxy_password = proxy_password_.get_text();

  form.textexpander_mode = te_mode_.get_active();
  return form;
}

void PreferencesWindow::fill(const PrefsForm& form) {
  filling_ = true;
  case_combo_.select_id(form.default_case_mode);
  trigger_combo_.select_id(form.default_trigger_mode);
  const auto keys = trigger_key_choices();
  int key_row = -1;
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i].vk == form.trigger_hotkey) key_row = static_cast<int>(i);
  trigger_key_.set_active(key_row);
  delim_entry_.set_text(form.delim_entry);
  delim_space_.set_active(form.delim_space);
  delim_tab_.set_active(form.delim_tab);
  delim_enter_.set_active(form.delim_enter);
  delim_escape_.set_active(form.delim_escape);
  start_at_login_.set_active(form.start_at_login);
  uc_check_.set_active(form.uc_check);
  uc_days_.set_value(form.uc_check_days);

  (form.output_clipboard ? output_clipboard_ : output_keys_).set_active(true);
  clipboard_more_than_.set_active(form.use_clipboard_more_than);
  clipboard_chars_.set_value(form.clipboard_more_than_chars);
  clipboard_restore_.set_active(form.clipboard_restore);
  cont_window_changed_.set_active(form.cont_window_changed);
  play_sound_.set_active(form.play_sound);
  show_tooltips_.set_active(form.show_tooltips);
  tooltips_trigger_.set_active(form.show_tooltips_trigger);
  tooltips_wec_.set_active(form.show_tooltips_wec);
  dont_tooltip_invalid_cursor_.set_active(form.dont_tooltip_invalid_cursor);
  show_lines(terminals_, form.terminal_classes);
  show_lines(primary_pasters_, form.primary_paste_classes);
  show_lines(lazy_inputs_, form.lazy_input_classes);

  (form.adv_view ? advanced_view_ : normal_view_).set_active(true);
  created_col_.set_active(form.created_col);
  modified_col_.set_active(form.modified_col);
  contfol_col_.set_active(form.contfol_col);
  remember_folder_.set_active(form.remember_sel_folder);
  bottom_buttons_.set_active(form.show_bottom_buttons);

  for (size_t i = 0; i < hotkey_rows_.size(); ++i) {
    hotkey_rows_[i].enable.set_active(form.hotkeys[i].enabled);
    hotkey_rows_[i].keys.set_hotkey(form.hotkeys[i].row);
  }
  (form.acm_at_keyboard ? acm_keyboard_ : acm_mouse_).set_active(true);

  use_sync_.set_active(form.use_sync);
  std::string folder = form.sync_folder;
  if (folder.empty() && deps_.detect_dropbox) folder = deps_.detect_dropbox().value_or("");
  sync_folder_.set_text(folder);
  (form.sync_te ? sync_te_ : sync_norm_).set_active(true);

  auto_backup_.set_active(form.auto_backup);
  backup_dir_.set_text(form.backup_dir);
  limit_backups_.set_active(form.limit_total_backup);
  backup_count_.set_value(form.backup_max_count);

  proxy_use_.set_active(form.proxy_use);
  proxy_host_.set_text(form.proxy_host);
  proxy_port_.set_value(form.proxy_port);
  proxy_user_.set_text(form.proxy_username);
  proxy_password_.set_text(form.proxy_password);

  te_mode_.set_active(form.textexpander_mode);
  filling_ = false;
  update_sensitivity();
  update_hotkey_warnings();
}

void PreferencesWindow::set_te_look(bool te) {
  const PrefsModeLook look = prefs_mode_look(te);
  const int case_id = case_combo_.selected_id(), trigger_id = trigger_combo_.selected_id();
  case_label_.set_text_with_mnemonic(look.case_label);
  trigger_label_.set_text_with_mnemonic(look.trigger_label);
  delim_label_.set_text_with_mnemonic(look.delim_label);
  show_tooltips_.set_label(look.tooltip_box_label);
  label_field(case_label_, case_combo_);
  label_field(trigger_label_, trigger_combo_);
  label_field(delim_label_, delim_entry_);
  case_combo_.set_table(look.case_table);
  trigger_combo_.set_table(look.trigger_table);
  case_combo_.select_id(case_id);
  trigger_combo_.select_id(trigger_id);
  tip(case_combo_, look.case_tooltip);
  tip(trigger_combo_, look.trigger_tooltip);
  tip(delim_entry_, look.delim_tooltip);
  tip(delim_reset_, look.reset_tooltip);
  tip(show_tooltips_, look.tooltip_box_tooltip);
  delim_escape_.set_visible(look.escape_box_visible);
  for (Gtk::Widget* w : {static_cast<Gtk::Widget*>(&trigger_key_row_),
                         static_cast<Gtk::Widget*>(&tooltips_trigger_), static_cast<Gtk::Widget*>(&tooltips_wec_),
                         static_cast<Gtk::Widget*>(&dont_tooltip_invalid_cursor_)})
    w->set_visible(look.normal_only_visible);
  te_look_ = te;
}

void PreferencesWindow::update_sensitivity() {
  if (filling_) return;
  const PrefsSensitivity sensitivity = prefs_sensitivity(form(), te_look_);
  clipboard_restore_.set_sensitive(sensitivity.clipboard_restore);
  show_tooltips_.set_sensitive(sensitivity.show_tooltips);
  for (size_t i = 0; i < hotkey_rows_.size(); ++i) hotkey_rows_[i].keys.set_sensitive(sensitivity.hotkey_rows[i]);
  proxy_fields_.set_sensitive(sensitivity.proxy_fields);
}

void PreferencesWindow::update_hotkey_warnings() {
  if (filling_) return;
  const auto rows = app_hotkey_rows();
  std::vector<ShownHotkeyRow> shown;
  for (size_t i = 0; i < hotkey_rows_.size() && i < rows.size(); ++i) {
    shown.push_back({&rows[i], hotkey_rows_[i].enable.get_active(),
                     hotkey_row_string(hotkey_rows_[i].keys.hotkey())});
  }
  const HotkeyConflictSources sources(deps_.prefs, deps_.library.sandbox, std::span<const ShownHotkeyRow>(shown));
  for (size_t i = 0; i < shown.size(); ++i) {
    Gtk::Image& warning = hotkey_rows_[i].warning;
    std::vector<std::string> names;
    if (shown[i].enabled) names = hotkeys_get_names_of_others_with_same_combo(shown[i].hotkey, &rows[i], sources);
    warning.set_visible(!names.empty());
    warning.set_tooltip_text(names.empty() ? "" : hotkey_conflict_tooltip(names));
  }
}

void PreferencesWindow::reset_delim_chars() {
  prefs_reset_delim_chars(deps_.prefs);
  PrefsForm defaults;
  delim_chars_to_form(deps_.prefs.get("delim_chars"), defaults);
  delim_entry_.set_text(defaults.delim_entry);
  delim_space_.set_active(defaults.delim_space);
  delim_tab_.set_active(defaults.delim_tab);
  delim_enter_.set_active(defaults.delim_enter);
  delim_escape_.set_active(defaults.delim_escape);
}

void PreferencesWindow::detect_dropbox_folder() {
  std::optional<std::string> folder = deps_.detect_dropbox ? deps_.detect_dropbox() : std::nullopt;
  if (folder) {
    sync_folder_.set_text(*folder);
    return;
  }
  deps_.prompts.error(
      "Unable to auto-detect Dropbox folder location. Please make sure that Dropbox is installed.\n\n"
      "If it is, please manually browse for your Dropbox folder (and let us know about this error "
      "so we can fix it).");
}

void PreferencesWindow::browse_dropbox_folder() {
  std::string start = sync_folder_.get_text();
  if (start.empty() && deps_.detect_dropbox) start = deps_.detect_dropbox().value_or("");
  if (!start.empty() && !directory_exists(start)) start = parse_out_directory(start);
  if (auto chosen = deps_.dialogs.browse_for_folder("Select your Dropbox folder.", start))
    sync_folder_.set_text(*chosen);
}

void PreferencesWindow::browse_backup_folder() {
  // A portable Tolvan stores the folder without its medium's mount point.
  std::string start = backup_dir_.get_text();
  if (portable_mode(deps_.gvar) && !start.empty()) start = deps_.gvar.get("portable_drive") + start;
  if (auto chosen = deps_.dialogs.browse_for_folder("Select the folder for backups.", start))
    backup_dir_.set_text(relativify_path_if_necessary(*chosen, deps_.gvar));
}

void PreferencesWindow::show_over(Gtk::Window* parent) {
  if (!get_visible()) fill(prefs_form_from_prefs(deps_.prefs, deps_.steps.starts_at_login()));
  if (parent) set_transient_for(*parent);
  present();
  set_te_look(te_mode_.get_active());
  update_sensitivity();
}

void PreferencesWindow::on_ok() {
  PrefsForm edited = form();
  const bool stored = prefs_ok(edited, deps_.prefs, deps_.steps, deps_.prompts);
  // A TextExpander mode that the sync mode forced shows in the window either way.
  if (edited.textexpander_mode != te_mode_.get_active()) te_mode_.set_active(edited.textexpander_mode);
  if (stored) close_window();
}

void PreferencesWindow::on_cancel() { close_window(); }

bool PreferencesWindow::on_key_press_event(GdkEventKey* event) {
  if (event->keyval == GDK_KEY_Escape) {
    on_cancel();
    return true;
  }
  return Gtk::Window::on_key_press_event(event);
}

bool PreferencesWindow::on_delete_event(GdkEventAny*) {
  close_window();
  return true;
}

void PreferencesWindow::close_window() {
  hide();
  set_te_look(false);
}

}  // namespace tolvan::ui
