// OK in the Preferences window: the values are checked, the sync folder and TextExpander
// changes they imply are carried out (each may be refused or fail, and then what was
// already switched is switched back and nothing is stored), every key is stored, and the
// program follows: hotkeys, engine, preferences file, backups.
#pragma once

#include <string>

#include "core/prompts.h"
#include "core/result.h"
#include "import/shared_folder_sync.h"
#include "presenters/preferences/prefs_form.h"
#include "settings/settings.h"

namespace tolvan {

// Everything OK does outside the preferences list, so that the order can be followed and
// every step refused.
class PreferencesSteps {
 public:
  virtual ~PreferencesSteps() = default;

  // The sync poll waits while OK changes folders under it.
  virtual void set_sync_suspended(bool suspended) = 0;
  // The working copy or the main list holds folders inside folders.
  virtual bool library_has_nested_folders() = 0;
  // Stores textexpander_mode and gives the library and the windows the mode's shape.
  virtual void set_textexpander_mode(bool on) = 0;
  virtual bool file_exists(const std::string& path) = 0;
  // The main window's unapplied changes, applied first when the user wants; false on
  // Cancel.
  virtual bool save_library_changes_first() = 0;
  // The loaded library written as the new own-format sync file (no file is there yet).
  virtual Status save_library_as(const std::string& file) = 0;
  // Own-format sync switched on where a sync file exists: the user chooses to use it or to
  // overwrite it.
  virtual SyncEnabling own_sync_just_enabled(const std::string& file) = 0;
  // Own-format sync switched off: the library saved back to its default file (retrying as
  // the user asks) and the default paths restored; false when the user gave up.
  virtual bool restore_default_library_location() = 0;
  virtual SyncEnabling te_sync_just_enabled(const std::string& file) = 0;
  // The library and sync file paths follow the stored sync keys.
  virtual void file_locations_changed() = 0;
  // The main window follows the view, column and bottom-button keys.
  virtual void view_settings_changed(bool bottom_buttons_changed) = 0;
  // The desktop's start-at-login entry, which the window shows beside the preferences.
  virtual bool starts_at_login() = 0;
  virtual void set_start_at_login(bool on) = 0;
  virtual void reregister_hotkeys() = 0;
  virtual void engine_prefs_reloaded() = 0;
  virtual Status save_prefs() = 0;
  virtual void consolidate_backups() = 0;
  virtual void move_backups(const std::string& folder) = 0;
  virtual void delete_all_backups() = 0;
  virtual void create_backup() = 0;
  // A top-level folder named "Typo AutoCorrections" (any case).
  virtual bool has_typo_autocorrection_folder() = 0;
  // TextExpander's own keys follow Tolvan's.
  virtual void te_prefs_modified() = 0;
};

struct PrefsApplyResult {
  bool stored = false;
  // The TextExpander-compatible sync step already told the TextExpander layer.
  bool te_layer_told = false;
};

// apply_prefs_win_ui_prefs. `form` may be changed: a TextExpander mode that the sync mode
// forces ticks its box. When not stored, `prefs` is as it was and the window stays open.
PrefsApplyResult apply_prefs_win_ui_prefs(PrefsForm& form, Settings& prefs, PreferencesSteps& steps,
                                          Prompts& prompts);

// cb_prefs_ok_clicked without the window: true when stored (the window then hides).
bool prefs_ok(PrefsForm& form, Settings& prefs, PreferencesSteps& steps, Prompts& prompts);

// The reset button of the word-ending row: stored at once, before OK.
void prefs_reset_delim_chars(Settings& prefs);

inline constexpr const char* kPrefsTeModeForcedQuestion =
    "TextExpander mode must be enabled if Dropbox sync is enabled with Sync mode set to "
    "\"TextExpander Compatible\".\n\nPress OK to enable TextExpander mode, or Cancel to cancel "
    "saving the changes.";
inline constexpr const char* kPrefsBlankDropboxFolder =
    "My Dropbox folder path cannot be blank. Please enter a valid path for your My Dropbox "
    "folder (or click the green arrow and Tolvan will enter it for you automatically) or "
    "disable Dropbox sync.";
inline constexpr const char* kPrefsDenestQuestion =
    "It appears you have some \"nested\" folders (folders contained within other folders).\n\n"
    "Nested folders are not supported in TextExpander mode. Should I \"de-nestify\" them now? "
    "No data will be lost.";
inline constexpr const char* kPrefsDeleteBackupsQuestion =
    "Would you like me to delete all of your existing backups?";
inline constexpr const char* kPrefsTypoSetNotice =
    "It appears you are using the Typo AutoCorrection set.\n\nThis set is not supported in "
    "TextExpander Mode. You should remove this set and then import the TidBITS AutoCorrect "
    "Dictionary instead by clicking File -> Import TidBITS AutoCorrection Dictionary.";

}  // namespace tolvan
