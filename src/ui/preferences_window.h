// PreferencesWindow: the Preferences dialog, seven pages over a PrefsForm with the
// TextExpander-mode switch and OK / Cancel below. Built once by its owner and then hidden
// and shown again; each showing fills it afresh from the preferences. Nothing is stored
// until OK, which runs the presenter's steps; Cancel and the close button store nothing.
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/comboboxtext.h>
#include <gtkmm/entry.h>
#include <gtkmm/grid.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/notebook.h>
#include <gtkmm/radiobutton.h>
#include <gtkmm/spinbutton.h>
#include <gtkmm/textview.h>
#include <gtkmm/window.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/prompts.h"
#include "library/library.h"
#include "presenters/file_dialogs.h"
#include "presenters/preferences/prefs_apply.h"
#include "presenters/preferences/prefs_form.h"
#include "settings/gvar.h"
#include "ui/hotkey_row_widget.h"
#include "ui/ok_cancel_apply_row.h"
#include "ui/table_combo.h"

namespace tolvan::ui {

struct PreferencesWindowDeps {
  Settings& prefs;
  const RunTimeVariables& gvar;
  const Library& library;  // its working copy's folder hotkeys are in conflict warnings
  Prompts& prompts;
  FileDialogs& dialogs;
  PreferencesSteps& steps;
  // The Dropbox folder found on this computer, or nothing.
  std::function<std::optional<std::string>()> detect_dropbox;
};

class PreferencesWindow final : public Gtk::Window {
 public:
  explicit PreferencesWindow(PreferencesWindowDeps deps);

  // show_prefs_window: filled from the preferences unless already showing, then in front,
  // modal over `parent`.
  void show_over(Gtk::Window* parent);

  // prefs_win_te_mode_toggle_active: a mode forced elsewhere shows in the window.
  void set_te_mode_box(bool on) { te_mode_.set_active(on); }

  // What the controls hold now, and setting them (as OK and a showing read and fill them).
  PrefsForm form() const;
  void fill(const PrefsForm& form);

  // The look shown: TextExpander mode's labels or the normal ones.
  bool shows_te_look() const { return te_look_; }

  Gtk::Notebook& notebook() { return notebook_; }
  Gtk::Button& ok_button() { return *buttons_.ok(); }
  Gtk::Button& cancel_button() { return *buttons_.cancel(); }
  Gtk::CheckButton& te_mode_box() { return te_mode_; }
  Gtk::Label& delim_label() { return delim_label_; }
  Gtk::Entry& delim_entry() { return delim_entry_; }
  Gtk::CheckButton& escape_box() { return delim_escape_; }
  Gtk::CheckButton& play_sound_box() { return play_sound_; }
  Gtk::Image& hotkey_warning(size_t row) { return hotkey_rows_[row].warning; }
  HotkeyRowWidget& hotkey_row(size_t row) { return hotkey_rows_[row].keys; }
  Gtk::CheckButton& hotkey_enable(size_t row) { return hotkey_rows_[row].enable; }

 private:
  struct HotkeyRowControls {
    Gtk::CheckButton enable;
    HotkeyRowWidget keys;
    Gtk::Image warning;
  };

  void build_general_page();
  void build_cool_stuff_page();
  // A labelled, scrolled list of window classes, one a line.
  void add_class_list(Gtk::Box& page, Gtk::Label& label, Gtk::TextView& view, const char* tooltip);
  void build_interface_page();
  void build_hotkeys_page();
  void build_dropbox_page();
  void build_backups_page();
  void build_proxy_page();
  Gtk::Box& add_page(const char* title);

  void on_ok();
  void on_cancel();
  bool on_delete_event(GdkEventAny* event) override;
  // Escape is Cancel, as in the toolkit's dialogs.
  bool on_key_press_event(GdkEventKey* event) override;
  void close_window();
  void set_te_look(bool te);
  void update_sensitivity();
  void update_hotkey_warnings();
  void reset_delim_chars();
  void detect_dropbox_folder();
  void browse_dropbox_folder();
  void browse_backup_folder();

  PreferencesWindowDeps deps_;
  bool te_look_ = false;
  bool filling_ = false;

  Gtk::Box layout_{Gtk::ORIENTATION_VERTICAL, 6};
  Gtk::Notebook notebook_;

  // General
  Gtk::Label case_label_, trigger_label_, trigger_key_label_{"_Trigger key:", true};
  TableCombo case_combo_, trigger_combo_;
  Gtk::ComboBoxText trigger_key_;
  Gtk::Box trigger_key_row_{Gtk::ORIENTATION_HORIZONTAL, 6};
  Gtk::Label delim_label_;
  Gtk::Entry delim_entry_;
  Gtk::CheckButton delim_space_{"_Space", true}, delim_tab_{"_Tab", true},
      delim_enter_{"_Enter", true}, delim_escape_{"E_scape", true};
  Gtk::Button delim_reset_;
  Gtk::CheckButton start_at_login_{"_Start Tolvan when I log in", true};
  Gtk::CheckButton uc_check_{"_Automatically check for updates every", true};
  Gtk::SpinButton uc_days_;

  // Cool Stuff
  Gtk::RadioButton output_keys_{"_Key press simulation (default)", true};
  Gtk::RadioButton output_clipboard_{"Clipboar_d", true};
  Gtk::CheckButton clipboard_more_than_{"Use the clipboard if replacement text contains _more than", true};
  Gtk::SpinButton clipboard_chars_;
  Gtk::CheckButton clipboard_restore_{"_Restore original clipboard contents after pasting replacement text", true};
  Gtk::CheckButton cont_window_changed_{"Contin_ue outputting replacement text even if active window changes", true};
  Gtk::CheckButton play_sound_{"\"_Pop\" when abbreviation typed", true};
  Gtk::CheckButton show_tooltips_;
  Gtk::CheckButton tooltips_trigger_{"Tri_gger key", true}, tooltips_wec_{"Wor_d-ending character", true};
  Gtk::CheckButton dont_tooltip_invalid_cursor_{
      "Don'_t show tooltip if the cursor position in the active application cannot be detected", true};
  Gtk::Label terminals_label_{"Terminal _window classes (they paste with Shift+Ctrl+V), one a line:", true};
  Gtk::TextView terminals_;
  Gtk::Label primary_pasters_label_{"Windows that paste the _selection with Shift+Insert, one a line:", true};
  Gtk::TextView primary_pasters_;
  Gtk::Label lazy_inputs_label_{"Windows that take _fast keys slowly, one a line:", true};
  Gtk::TextView lazy_inputs_;

  // Interface
  Gtk::RadioButton normal_view_{"_Normal", true}, advanced_view_{"A_dvanced", true};
  Gtk::CheckButton created_col_{"C_reated", true}, modified_col_{"Last _Modified", true},
      contfol_col_{"Containing Folder (when a_pplicable)", true};
  Gtk::CheckButton remember_folder_{"Re_member last selected folder and select on startup", true};
  Gtk::CheckButton bottom_buttons_{"Show _bottom new folder/abbreviation/launcher buttons", true};

  // Hotkeys
  std::array<HotkeyRowControls, 4> hotkey_rows_;
  Gtk::RadioButton acm_mouse_{"Mouse pointer"}, acm_keyboard_{"Keyboard cursor"};

  // Dropbox Sync
  Gtk::CheckButton use_sync_{"Enable Dropbox _sync so I can use the same abbreviations on multiple computers", true};
  Gtk::Label sync_folder_label_{"My _Dropbox folder:", true};
  Gtk::Entry sync_folder_;
  Gtk::Button detect_dropbox_, browse_dropbox_;
  Gtk::RadioButton sync_norm_{"_Normal", true};
  Gtk::RadioButton sync_te_{"_TextExpander Compatible (Mac/TextExpander users only)", true};

  // Backups
  Gtk::CheckButton auto_backup_{"Automatically make _backups of my abbreviations", true};
  Gtk::Label backup_dir_label_{"Place backups in _directory:", true};
  Gtk::Entry backup_dir_;
  Gtk::Button browse_backup_;
  Gtk::CheckButton limit_backups_{"_Limit total number of saved backups on disk to ", true};
  Gtk::SpinButton backup_count_;

  // Proxy
  Gtk::CheckButton proxy_use_{
      "When _checking for updates or using the 'Ask Us a Question' feature, use a proxy server", true};
  Gtk::Grid proxy_fields_;
  Gtk::Label proxy_host_label_{"_Host:", true}, proxy_port_label_{"_Port:", true},
      proxy_user_label_{"_Username:", true}, proxy_password_label_{"Pass_word:", true};
  Gtk::Entry proxy_host_, proxy_user_, proxy_password_;
  Gtk::SpinButton proxy_port_;

  // Below the notebook
  Gtk::Box foot_{Gtk::ORIENTATION_HORIZONTAL, 6};
  Gtk::CheckButton te_mode_{"Enable Te_xtExpander Mode", true};
  OkCancelApplyRow buttons_;
};

}  // namespace tolvan::ui
