// The preferences: loading with defaults and upgrades, saving, the default modes
// for new abbreviations, and the sync folder rule.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"
#include "settings/gvar.h"
#include "settings/settings.h"

namespace tolvan {

// The word-ending characters a first start gets.
inline constexpr std::string_view kDefaultDelimChars = ",.?!()<>[]{}:;\"/\\-' \n\t";

// The window classes of terminals, which paste with Shift+Ctrl+V (Ctrl+V reaches the
// program inside): ';'-separated, compared without case, as X11 reports WM_CLASS's class.
inline constexpr std::string_view kDefaultTerminalClasses =
    "XTerm;UXTerm;URxvt;Rxvt;Gnome-terminal;gnome-terminal-server;konsole;Xfce4-terminal;"
    "Alacritty;kitty;Tilix;Terminator;st-256color;foot;org.wezfurlong.wezterm;Lxterminal;"
    "Mate-terminal;qterminal;terminology;Sakura;Eterm;Termite;io.elementary.terminal;Terminal";

// The window classes that paste the PRIMARY selection with Shift+Insert whatever their
// settings (xterm binds no Ctrl key to pasting by default); they come before the terminal
// list.
inline constexpr std::string_view kDefaultPrimaryPasteClasses = "XTerm;UXTerm;URxvt;Rxvt";

// The window classes that take fast keys lazily: LibreOffice sets typed characters aside while
// more keys wait, and lets a Backspace or a Return that follows overtake them. Tolvan paces
// its keys there (see InputSynth::pace_keys).
inline constexpr std::string_view kDefaultLazyInputClasses =
    "libreoffice-writer;libreoffice-calc;libreoffice-impress;libreoffice-draw;"
    "libreoffice-math;libreoffice-base;libreoffice-startcenter;Soffice";

// Replaces `prefs` with the file named by the run-time variable prefs_file (an empty list
// when it is missing or invalid), then fills in defaults and applies the upgrades. Returns
// the loader's reason when the file could not be used; the program carries on regardless.
Status prefs_load(Settings& prefs, RunTimeVariables& gvar);

// Writes the preferences to prefs_file through the safe save.
Status prefs_save(const Settings& prefs, const RunTimeVariables& gvar);

// The defaults step, in its fixed order; sets backup_srsly and te_resync in `gvar` when due.
void prefs_set_defaults(Settings& prefs, RunTimeVariables& gvar);
// The window-size upgrade of files from before version 3.15.
void prefs_do_backwards_compat(Settings& prefs);

// The case mode for a new abbreviation of type `abbr_type` (0 text, 1 program, 2 website);
// stores the default 2 when default_case_mode is missing or out of range.
int prefs_get_default_case_mode(Settings& prefs, int abbr_type);
// The trigger mode for a new abbreviation (3 to 5); stores 3 when missing or out of range.
int prefs_get_default_trigger_mode(Settings& prefs);

// The sync folder: `dir` (or diff_abbrev_dir), a separator, then nothing when aldir is set,
// else "TextExpander" for the TextExpander flavour, else "Tolvan".
std::string prefs_get_correct_diff_dir(const Settings& prefs, std::optional<std::string_view> dir,
                                       bool te);

// The start-up order shared by the program and tolvan-cli: the program folders into `gvar`,
// prefs_load, then the library and sync file locations. Returns prefs_load's result.
Status prefs_load_at_start(Settings& prefs, RunTimeVariables& gvar, const ProgramFolders& folders);

}  // namespace tolvan
