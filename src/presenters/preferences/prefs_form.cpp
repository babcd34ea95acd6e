#include "presenters/preferences/prefs_form.h"

#include <algorithm>

#include "launch/app_hotkeys.h"
#include "presenters/preferences/proxy_password.h"

namespace tolvan {
namespace {

constexpr char kEscape = 27;

constexpr std::array<HotkeyKeyChoice, 53> kTriggerKeys = {{
    {0x10, "Shift"}, {0x11, "Ctrl"}, {0x20, "Space"}, {0x09, "Tab"}, {0x0D, "Enter"},
    {0x25, "Left"}, {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"},
    {0x21, "Page Up"}, {0x22, "Page Down"},
    {0x70, "F1"}, {0x71, "F2"}, {0x72, "F3"}, {0x73, "F4"}, {0x74, "F5"}, {0x75, "F6"},
    {0x76, "F7"}, {0x77, "F8"}, {0x78, "F9"}, {0x79, "F10"}, {0x7A, "F11"}, {0x7B, "F12"},
    {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBA, ";"}, {0xBF, "/"}, {0xC0, "`"},
    {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"}, {0xDF, "OEM 8"}, {0xE2, "< >"},
    {0x6A, "Num *"}, {0x6B, "Num +"}, {0x6D, "Num -"}, {0x6E, "Num Del"}, {0x6F, "Num /"},
    {0x7C, "F13"}, {0x7D, "F14"}, {0x7E, "F15"}, {0x7F, "F16"}, {0x80, "F17"}, {0x81, "F18"},
    {0x82, "F19"}, {0x83, "F20"}, {0x84, "F21"}, {0x85, "F22"}, {0x86, "F23"}, {0x87, "F24"},
}};

std::string trimmed(std::string_view text) {
  constexpr std::string_view kBlank = " \t\r\n";
  const size_t first = text.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(kBlank) - first + 1));
}

bool flag(const Settings& prefs, std::string_view key) { return prefs.get_int(key) != 0; }
void set_flag(Settings& prefs, std::string_view key, bool on) { prefs.set(key, on ? "1" : "0"); }

}  // namespace

std::span<const HotkeyKeyChoice> trigger_key_choices() { return kTriggerKeys; }

bool delim_entry_refuses(char32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == kEscape; }

std::string delim_entry_filter(std::string_view text) {
  std::string kept;
  for (char c : text)
    if (!delim_entry_refuses(static_cast<unsigned char>(c))) kept += c;
  return kept;
}

std::string delim_chars_from_form(const PrefsForm& form) {
  std::string stored = delim_entry_filter(form.delim_entry);
  if (form.delim_space) stored += ' ';
  if (form.delim_tab) stored += '\t';
  if (form.delim_enter) stored += '\n';
  if (form.delim_escape) stored += kEscape;
  return stored;
}

void delim_chars_to_form(std::string_view stored, PrefsForm& form) {
  auto has = [&](char c) { return stored.find(c) != std::string_view::npos; };
  form.delim_space = has(' ');
  form.delim_tab = has('\t');
  form.delim_enter = has('\n');
  form.delim_escape = has(kEscape);
  form.delim_entry = delim_entry_filter(stored);
}

std::vector<std::string> terminal_classes_from_string(std::string_view stored) {
  std::vector<std::string> classes;
  for (std::string_view rest = stored; !rest.empty();) {
    const size_t end = std::min(rest.find(';'), rest.size());
    std::string item = trimmed(rest.substr(0, end));
    if (!item.empty()) classes.push_back(std::move(item));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return classes;
}

std::string terminal_classes_to_string(const std::vector<std::string>& classes) {
  std::string stored;
  for (const std::string& item : classes) {
    // A ';' would split the class in two when read back.
    std::string clean = trimmed(item);
    std::erase(clean, ';');
    if (clean.empty()) continue;
    if (!stored.empty()) stored += ';';
    stored += clean;
  }
  return stored;
}

PrefsForm prefs_form_from_prefs(const Settings& prefs, bool start_at_login) {
  PrefsForm form;
  // Out-of-range modes show as the defaults new abbreviations would get.
  const int case_mode = prefs.get_int("default_case_mode");
  form.default_case_mode = prefs.does_exist("default_case_mode") && case_mode >= 0 && case_mode <= 2 ? case_mode : 2;
  const int trigger_mode = prefs.get_int("default_trigger_mode");
  form.default_trigger_mode = trigger_mode >= 3 && trigger_mode <= 5 ? trigger_mode : 3;
  form.trigger_hotkey = prefs.get_int("trigger_hotkey");
  delim_chars_to_form(prefs.get("delim_chars"), form);
  form.start_at_login = start_at_login;
  form.uc_check = flag(prefs, "uc_check");
  form.uc_check_days = std::clamp(prefs.get_int("uc_check_days"), 1, 100);

  form.output_clipboard = prefs.get_int("output_method") == 1;
  form.use_clipboard_more_than = flag(prefs, "use_clipboard_more_than");
  form.clipboard_more_than_chars = std::clamp(prefs.get_int("clipboard_more_than_chars"), 1, 9999);
  form.clipboard_restore = flag(prefs, "clipboard_restore");
  form.cont_window_changed = flag(prefs, "cont_window_changed");
  form.play_sound = flag(prefs, "play_sound");
  form.show_tooltips = flag(prefs, "show_tooltips");
  form.show_tooltips_trigger = flag(prefs, "show_tooltips_trigger");
  form.show_tooltips_wec = flag(prefs, "show_tooltips_wec");
  form.dont_tooltip_invalid_cursor = flag(prefs, "dont_tooltip_invalid_cursor");
  form.terminal_classes = terminal_classes_from_string(prefs.get("terminal_classes"));
  form.primary_paste_classes = terminal_classes_from_string(prefs.get("primary_paste_classes"));
  form.lazy_input_classes = terminal_classes_from_string(prefs.get("lazy_input_classes"));

  form.adv_view = flag(prefs, "adv_view");
  form.created_col = flag(prefs, "created_col");
  form.modified_col = flag(prefs, "modified_col");
  form.contfol_col = flag(prefs, "contfol_col");
  form.remember_sel_folder = flag(prefs, "remember_sel_folder");
  form.show_bottom_buttons = flag(prefs, "show_bottom_buttons");

  const auto rows = app_hotkey_rows();
  for (size_t i = 0; i < form.hotkeys.size() && i < rows.size(); ++i) {
    form.hotkeys[i].enabled = flag(prefs, rows[i].enable_key);
    form.hotkeys[i].row = hotkey_row_from_string(prefs.get(rows[i].hotkey_key));
  }
  form.acm_at_keyboard = prefs.get("acm_placement") == "keyboard";

  form.use_sync = flag(prefs, "use_diff_abbrev_dir");
  form.sync_folder = prefs.get("diff_abbrev_dir");
  form.sync_te = flag(prefs, "sync_te");

  form.auto_backup = flag(prefs, "auto_backup");
  form.backup_dir = prefs.get("backup_dir");
  form.limit_total_backup = flag(prefs, "limit_total_backup");
  form.backup_max_count = std::clamp(prefs.get_int("backup_max_count"), 1, 9999);

  form.proxy_use = flag(prefs, "proxy_use");
  form.proxy_host = prefs.get("proxy_host");
  // No port stored yet: the port web proxies listen on most often, rather than the spin
  // button's lowest value, which no proxy uses.
  const int port = prefs.get_int("proxy_port");
  form.proxy_port = port >= 1 && port <= 999999 ? port : kUsualProxyPort;
  form.proxy_username = prefs.get("proxy_username");
  form.proxy_password = proxy_password_unscramble(prefs.get("proxy_"));

  form.textexpander_mode = flag(prefs, "textexpander_mode");
  return form;
}

void prefs_form_store_plain_keys(const PrefsForm& form, Settings& prefs) {
  set_flag(prefs, "auto_backup", form.auto_backup);
  set_flag(prefs, "limit_total_backup", form.limit_total_backup);
  prefs.set_int("backup_max_count", form.backup_max_count);
  prefs.set("backup_dir", form.backup_dir);
  set_flag(prefs, "norm_view", !form.adv_view);
  set_flag(prefs, "adv_view", form.adv_view);
  set_flag(prefs, "modified_col", form.modified_col);
  set_flag(prefs, "created_col", form.created_col);
  set_flag(prefs, "contfol_col", form.contfol_col);
  prefs.set_int("default_case_mode", form.default_case_mode < 0 ? 2 : form.default_case_mode);
  prefs.set_int("default_trigger_mode", form.default_trigger_mode < 0 ? 3 : form.default_trigger_mode);
  prefs.set_int("trigger_hotkey", form.trigger_hotkey);
  prefs.set("delim_chars", delim_chars_from_form(form));
  prefs.set_int("output_method", form.output_clipboard ? 1 : 0);
  set_flag(prefs, "use_clipboard_more_than", form.use_clipboard_more_than);
  prefs.set_int("clipboard_more_than_chars", form.clipboard_more_than_chars);
  set_flag(prefs, "cont_window_changed", form.cont_window_changed);
  set_flag(prefs, "play_sound", form.play_sound);
  set_flag(prefs, "clipboard_restore", form.clipboard_restore);
  prefs.set("terminal_classes", terminal_classes_to_string(form.terminal_classes));
  prefs.set("primary_paste_classes", terminal_classes_to_string(form.primary_paste_classes));
  prefs.set("lazy_input_classes", terminal_classes_to_string(form.lazy_input_classes));
  set_flag(prefs, "show_tooltips", form.show_tooltips);
  set_flag(prefs, "show_tooltips_trigger", form.show_tooltips_trigger);
  set_flag(prefs, "show_tooltips_wec", form.show_tooltips_wec);
  set_flag(prefs, "dont_tooltip_invalid_cursor", form.dont_tooltip_invalid_cursor);
  set_flag(prefs, "remember_sel_folder", form.remember_sel_folder);
  set_flag(prefs, "show_bottom_buttons", form.show_bottom_buttons);
  set_flag(prefs, "uc_check", form.uc_check);
  prefs.set_int("uc_check_days", form.uc_check_days);
  set_flag(prefs, "proxy_use", form.proxy_use);
  prefs.set("proxy_host", form.proxy_host);
  prefs.set("proxy_username", form.proxy_username);
  prefs.set_int("proxy_port", form.proxy_port);
  prefs.set("proxy_", proxy_password_scramble(form.proxy_password));
  // The hotkeys in the order they have always been stored: launch pad, toggle status,
  // main window, menu.
  const auto rows = app_hotkey_rows();
  for (int id : {kLaunchPadHotkeyId, kToggleStatusHotkeyId, kShowMainWindowHotkeyId,
                 kAbbrevMenuHotkeyId}) {
    for (size_t i = 0; i < rows.size() && i < form.hotkeys.size(); ++i) {
      if (rows[i].id != id) continue;
      prefs.set(rows[i].hotkey_key, hotkey_row_string(form.hotkeys[i].row));
      set_flag(prefs, rows[i].enable_key, form.hotkeys[i].enabled);
    }
  }
  prefs.set("acm_placement", form.acm_at_keyboard ? "keyboard" : "mouse");
}

}  // namespace tolvan
