// The Preferences window's controls as plain values, read from and stored into the
// preferences list. The window edits a PrefsForm; nothing reaches the preferences until OK.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "presenters/hotkey_row.h"
#include "settings/settings.h"

namespace tolvan {

struct PrefsHotkey {
  bool enabled = false;
  HotkeyRow row;

  friend bool operator==(const PrefsHotkey&, const PrefsHotkey&) = default;
};

// The proxy port the window offers while none is stored.
constexpr int kUsualProxyPort = 8080;

struct PrefsForm {
  // General
  int default_case_mode = 2;
  int default_trigger_mode = 3;
  int trigger_hotkey = 17;
  std::string delim_entry;  // the word-ending characters other than the four boxes'
  bool delim_space = false, delim_tab = false, delim_enter = false, delim_escape = false;
  bool start_at_login = false;
  bool uc_check = false;
  int uc_check_days = 7;
  // Cool Stuff
  bool output_clipboard = false;
  bool use_clipboard_more_than = false;
  int clipboard_more_than_chars = 3500;
  bool clipboard_restore = false;
  bool cont_window_changed = false;
  bool play_sound = false;
  bool show_tooltips = false, show_tooltips_trigger = false, show_tooltips_wec = false;
  bool dont_tooltip_invalid_cursor = false;
  std::vector<std::string> terminal_classes;
  std::vector<std::string> primary_paste_classes;
  std::vector<std::string> lazy_input_classes;
  // Interface
  bool adv_view = false;
  bool created_col = false, modified_col = false, contfol_col = false;
  bool remember_sel_folder = false;
  bool show_bottom_buttons = false;
  // Hotkeys, in the order of app_hotkey_rows()
  std::array<PrefsHotkey, 4> hotkeys;
  bool acm_at_keyboard = false;
  // Dropbox Sync
  bool use_sync = false;
  std::string sync_folder;
  bool sync_te = false;
  // Backups
  bool auto_backup = false;
  std::string backup_dir;
  bool limit_total_backup = false;
  int backup_max_count = 10;
  // Proxy
  bool proxy_use = false;
  std::string proxy_host;
  int proxy_port = kUsualProxyPort;
  std::string proxy_username;
  std::string proxy_password;  // in clear while the window shows it
  // Below the notebook
  bool textexpander_mode = false;

  friend bool operator==(const PrefsForm&, const PrefsForm&) = default;
};

// prefs_win_fill_widgets_with_prefs's values. `start_at_login` is the desktop's entry,
// which is no preference.
PrefsForm prefs_form_from_prefs(const Settings& prefs, bool start_at_login);

// The keys OK stores after the sync and TextExpander steps, in their fixed order (the sync
// keys, the TextExpander mode and the start-at-login entry are stored by those steps).
void prefs_form_store_plain_keys(const PrefsForm& form, Settings& prefs);

// --- Word-ending characters ---------------------------------------------------------------

// The characters that have their own check box, never the entry's.
bool delim_entry_refuses(char32_t c);
// Text typed or pasted into the entry, without the refused characters.
std::string delim_entry_filter(std::string_view text);
// The stored value: the entry's text, then a space, tab, line feed and escape for the
// ticked boxes, in that order.
std::string delim_chars_from_form(const PrefsForm& form);
// Splits a stored value into the entry and the boxes.
void delim_chars_to_form(std::string_view stored, PrefsForm& form);

// --- Trigger key ----------------------------------------------------------------------------

// The 53 keys the trigger-key combo offers, named as the window shows them.
std::span<const HotkeyKeyChoice> trigger_key_choices();

// --- Terminal classes -------------------------------------------------------------------------

// The ';'-separated preference as a list (blank items dropped) and back.
std::vector<std::string> terminal_classes_from_string(std::string_view stored);
std::string terminal_classes_to_string(const std::vector<std::string>& classes);

}  // namespace tolvan
