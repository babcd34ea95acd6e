#include "presenters/preferences/prefs_apply.h"

#include <cctype>
#include <optional>

#include "core/paths.h"
#include "import/sync_files.h"
#include "settings/prefs.h"

namespace tolvan {
namespace {

constexpr int kTriggerWordEnding = 5;

std::string without_trailing_separator(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool same_folder_ignoring_case(const std::string& a, const std::string& b) {
  const std::string x = without_trailing_separator(a), y = without_trailing_separator(b);
  if (x.size() != y.size()) return false;
  for (size_t i = 0; i < x.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(x[i])) != std::tolower(static_cast<unsigned char>(y[i])))
      return false;
  }
  return true;
}

// Holds the sync poll off for the whole of OK, whichever way it ends.
class SyncSuspension {
 public:
  explicit SyncSuspension(PreferencesSteps& steps) : steps_(steps) { steps_.set_sync_suspended(true); }
  ~SyncSuspension() { steps_.set_sync_suspended(false); }
  SyncSuspension(const SyncSuspension&) = delete;
  SyncSuspension& operator=(const SyncSuspension&) = delete;

 private:
  PreferencesSteps& steps_;
};

std::string retry_save_question(const std::string& file, const std::string& reason) {
  return "Unable to save currently loaded abbreviations to file '" + file + "': " + reason +
         ". Would you like me to try again?";
}

// Own-format sync into `folder`; false when the user gave up.
bool switch_own_sync_on(const std::string& folder, PreferencesSteps& steps, Prompts& prompts) {
  const std::string file = path_join(folder, "abbreviations.tlv");
  if (!steps.file_exists(file)) {
    for (;;) {
      const Status saved = steps.save_library_as(file);
      if (saved.ok()) return true;
      if (!prompts.yes_no(retry_save_question(file, saved.error()), PromptKind::Error)) return false;
    }
  }
  if (!steps.save_library_changes_first()) return false;
  const SyncEnabling result = steps.own_sync_just_enabled(file);
  return result == SyncEnabling::Done || result == SyncEnabling::SyncWithExisting;
}

}  // namespace

PrefsApplyResult apply_prefs_win_ui_prefs(PrefsForm& form, Settings& prefs, PreferencesSteps& steps,
                                          Prompts& prompts) {
  PrefsApplyResult result;
  SyncSuspension suspension(steps);

  if (form.use_sync && form.sync_te && !form.textexpander_mode) {
    if (!prompts.yes_no(kPrefsTeModeForcedQuestion, PromptKind::Question)) return result;
    form.textexpander_mode = true;
  }
  if (form.use_sync && form.sync_folder.empty()) {
    prompts.info(kPrefsBlankDropboxFolder);
    return result;
  }

  const bool was_te_mode = prefs.get_int("textexpander_mode") != 0;
  const bool was_sync = prefs.get_int("use_diff_abbrev_dir") != 0;
  const bool was_sync_te = was_sync && prefs.get_int("sync_te") != 0;
  const bool was_sync_norm = was_sync && !was_sync_te;
  const bool folder_changed =
      without_trailing_separator(form.sync_folder) != without_trailing_separator(prefs.get("diff_abbrev_dir"));
  const std::string new_folder = prefs_get_correct_diff_dir(prefs, without_trailing_separator(form.sync_folder), form.sync_te);

  if (form.textexpander_mode && !was_te_mode && prefs.get_int("tenest") == 0 &&
      steps.library_has_nested_folders()) {
    const Prompts::AskAgainAnswer answer =
        prompts.yes_no_ask_again(kPrefsDenestQuestion, PromptKind::Question, false);
    if (answer.dont_show_again) prefs.set("tenest", "1");
    if (!answer.yes) return result;
  }

  const bool te_mode_switches = form.textexpander_mode != was_te_mode;
  const std::optional<std::string> stored_te_mode =
      prefs.does_exist("textexpander_mode") ? std::optional<std::string>(prefs.get("textexpander_mode")) : std::nullopt;
  if (te_mode_switches) steps.set_textexpander_mode(form.textexpander_mode);
  // Switches the mode back and leaves its key exactly as it was.
  auto give_up = [&] {
    if (!te_mode_switches) return result;
    steps.set_textexpander_mode(was_te_mode);
    if (stored_te_mode) prefs.set("textexpander_mode", *stored_te_mode);
    else prefs.delete_key("textexpander_mode");
    return result;
  };

  const bool norm_sync = form.use_sync && !form.sync_te;
  if (norm_sync && !(was_sync_norm && !folder_changed)) {
    if (!switch_own_sync_on(new_folder, steps, prompts)) return give_up();
  }
  if (was_sync_norm && !norm_sync) {
    if (!steps.restore_default_library_location()) return give_up();
  }

  bool reset_timestamps = form.use_sync && (!was_sync || folder_changed || (form.sync_te && !was_sync_te));
  if (form.use_sync && form.sync_te) {
    if (!was_sync_te || folder_changed) {
      const SyncEnabling enabling = steps.te_sync_just_enabled(path_join(new_folder, "Settings.textexpander"));
      if (enabling == SyncEnabling::Failed || enabling == SyncEnabling::Cancelled) return give_up();
      result.te_layer_told = true;
      if (enabling == SyncEnabling::Done) reset_timestamps = false;
    }
  } else {
    prefs.delete_key("tesyncalready");
    prefs.delete_key("rdfail");
  }
  if (reset_timestamps) sync_reset_timestamps(prefs);

  prefs.set("sync_te", form.sync_te ? "1" : "0");
  prefs.set("sync_norm", form.sync_te ? "0" : "1");
  prefs.set("use_diff_abbrev_dir", form.use_sync ? "1" : "0");
  prefs.set("diff_abbrev_dir", form.sync_folder);
  steps.file_locations_changed();

  const bool bottom_buttons_changed = (prefs.get_int("show_bottom_buttons") != 0) != form.show_bottom_buttons;
  prefs_form_store_plain_keys(form, prefs);
  steps.view_settings_changed(bottom_buttons_changed);
  steps.set_start_at_login(form.start_at_login);

  steps.reregister_hotkeys();
  result.stored = true;
  return result;
}

bool prefs_ok(PrefsForm& form, Settings& prefs, PreferencesSteps& steps, Prompts& prompts) {
  const bool was_te_mode = prefs.get_int("textexpander_mode") != 0;
  const bool had_auto_backup = prefs.get_int("auto_backup") != 0;
  const std::string old_backup_dir = without_trailing_separator(prefs.get("backup_dir"));

  const PrefsApplyResult applied = apply_prefs_win_ui_prefs(form, prefs, steps, prompts);
  if (!applied.stored) return false;

  steps.engine_prefs_reloaded();
  if (const Status saved = steps.save_prefs(); !saved.ok()) prompts.error(saved.error());
  steps.consolidate_backups();

  if (!same_folder_ignoring_case(old_backup_dir, prefs.get("backup_dir"))) {
    steps.move_backups(without_trailing_separator(prefs.get("backup_dir")));
  }
  const bool auto_backup = prefs.get_int("auto_backup") != 0;
  if (had_auto_backup && !auto_backup && !prefs.get("backups").empty()) {
    if (prompts.yes_no(kPrefsDeleteBackupsQuestion, PromptKind::Question)) steps.delete_all_backups();
  } else if (!had_auto_backup && auto_backup) {
    steps.create_backup();
  }

  // The Typo set's check: its corrections expand on word endings, which TextExpander mode
  // treats differently.
  const bool te_mode = prefs.get_int("textexpander_mode") != 0;
  if (te_mode && (!was_te_mode || !prefs.does_exist("tasag")) &&
      prefs.get_int("default_trigger_mode") != kTriggerWordEnding && prefs.get_int("tasag") != 1 &&
      steps.has_typo_autocorrection_folder()) {
    const bool dont_show = prompts.ask_again(kPrefsTypoSetNotice, PromptKind::Info, false);
    prefs.set("tasag", dont_show ? "1" : "0");
  }
  if (!applied.te_layer_told) steps.te_prefs_modified();
  return true;
}

void prefs_reset_delim_chars(Settings& prefs) { prefs.set("delim_chars", kDefaultDelimChars); }

}  // namespace tolvan
