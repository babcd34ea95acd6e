// Tolvan's start sequence.
#include "app/application.h"

#include <ostream>

#include "core/paths.h"
#include "core/strings.h"
#include "import/included_sets.h"
#include "library/backups.h"
#include "library/file_moves.h"
#include "library/main_list_file.h"
#include "library/messages.h"
#include "settings/program_folders.h"
#include "settings/prefs.h"

namespace tolvan {

const char* const kEngineStartFailedText =
    "Fatal error: Unable to initialize and install the backend. Please make sure that no "
    "other instances of Tolvan are running and try again. If this message persists even "
    "after a reboot, please contact us through Help > Support in Tolvan's main window.";

const char* const kPortableNoticeText =
    "It looks like you are running Tolvan on a removable USB flash drive.\n\nTo prevent data "
    "loss, before you physically remove your USB flash drive from the computer please always "
    "remember to first exit Tolvan (File -> Exit, or right-click the system tray icon and "
    "click Exit), then \"safely eject/remove\" your USB flash drive.\n\nIf you're not sure how "
    "to safely eject/remove your flash drive (it's easy), please consult the help file, or "
    "contact us (we'd be glad to help).";

Application::Application(const Folders& folders, ProgramSteps& steps, Prompts& prompts)
    : folders_(folders), steps_(steps), prompts_(prompts), enabled_(steps) {}

int Application::run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  err_ = &err;
  auto parsed = parse_command_line(argv, folders_.current_dir());
  if (!parsed) {
    err << parsed.error();
    return 2;
  }
  command_line_ = *parsed;
  if (command_line_.help) {
    out << kCommandLineUsage;
    return 0;
  }
  // The program folders are computed before the single-instance check, which is per
  // data folder; they are stored with the preferences (steps 5 and 6).
  const ProgramFolders folders = compute_program_folders(
      folders_, argv.empty() ? std::string() : argv[0], command_line_.portable,
      config_dir_override_from(command_line_.config_dir));
  if (!steps_.claim_single_instance(command_line_, folders)) return 0;
  if (!start_first_instance(folders)) return status_;
  steps_.run_main_loop();
  // The loop ends through quit; a loop that ended otherwise still quits in order.
  if (!quit_done_) quit(0, false);
  return status_;
}

bool Application::start_first_instance(const ProgramFolders& folders) {
  steps_.init_toolkit();
  steps_.create_tray();
  steps_.listen_for_second_instances();
  steps_.create_tooltip_window();
  // A missing or unreadable preferences file is a first start, not an error.
  (void)prefs_load_at_start(prefs_, gvar_, folders);
  steps_.register_hotkeys();
  load_up_users_abbreviations();
  first_start_or_backup();
  steps_.show_tray_icon();
  steps_.build_main_window(!command_line_.systray);
  // The engine's error box, and the portable notice, let the main loop turn: a quit may
  // have come meanwhile.
  if (!start_engine() || quit_done_) return false;
  if (gvar_.does_exist("expabs")) {
    steps_.expand_top_folder();
    gvar_.delete_key("expabs");
  }
  steps_.show_launchpad();
  if (!command_line_.import_path.empty()) import_file(command_line_.import_path);
  steps_.arm_update_check();
  steps_.arm_sync_poll();
  return true;
}

void Application::load_up_users_abbreviations() {
  const std::string old_file = gvar_.get("old_abbreviations_file");
  const std::string file = gvar_.get("abbreviations_file");
  if (isfile(old_file) && !isfile(file) && !rename_no_replace(old_file, file)) {
    gvar_.set("abbreviations_file", old_file);  // keep using the old name
  }
  abbr_free_all_folder_lists(library_);
  (void)abbr_load_main_list_from_file(library_, gvar_.get("abbreviations_file"), prompts_,
                                      main_list_load_options(prefs_));
  steps_.reshape_lists_for_textexpander();
  steps_.tell_sync_main_list_loaded();
  steps_.register_folder_hotkeys();
  abbr_create_sandbox(library_);
}

void Application::first_start_or_backup() {
  if (isfile(gvar_.get("abbreviations_file"))) {
    prefs_.set_int("lddex", 0);
    if (gvar_.get_int("backup_srsly") == 1) {
      BackupContext backup{prefs_, gvar_, library_, prompts_, {}, {}};
      (void)backup_create_new(backup, false);
      gvar_.set_int("backup_srsly", 0);
    }
    return;
  }
  (void)import_included_set(library_, gvar_, prompts_, kExamplesSet, true);
  abbr_flush_sandbox_to_main(library_);
  abbr_create_sandbox(library_);
  prefs_.set("expanded_folders", "0");
  prefs_.set_int("lddex", 1);
}

bool Application::start_engine() {
  if (!steps_.keyboard_hook_installed() && !steps_.start_engine()) {
    prompts_.error(kEngineStartFailedText);
    if (quit(0)) return false;
  }
  enabled_.set_state(TOLVAN_STATE_ENABLED);
  if (portable_mode(gvar_) && prefs_.get_int("portable_dont_wrn") == 0) {
    const bool dont_show = prompts_.ask_again(kPortableNoticeText, PromptKind::Info, false);
    prefs_.set_int("portable_dont_wrn", dont_show ? 1 : 0);
  }
  return true;
}

void Application::import_file(const std::string& path) {
  if (equals_ignore_case(extract_file_extension(path), ".textexpander")) {
    steps_.import_te_snippets(path);
  } else {
    steps_.import_abbrevs(path);
  }
}

void Application::accept_handover(const Handover& handover) {
  steps_.show_main_window();
  if (auto file = handover_import_file(handover)) import_file(*file);
}

bool Application::quit(int status, bool may_cancel) {
  if (quit_done_) return true;
  if (steps_.has_unapplied_changes() && may_cancel) {
    switch (prompts_.yes_no_cancel("Would you like me to save your changes before quitting?")) {
      case Answer::Yes: steps_.apply_changes(); break;
      case Answer::Cancel: return false;
      case Answer::No: break;
    }
  }
  quit_done_ = true;
  steps_.destroy_tooltip_window();
  steps_.stop_engine();
  steps_.destroy_main_window();
  steps_.remove_tray();
  steps_.stop_listening();
  steps_.destroy_launchpad();
  steps_.unregister_hotkeys();
  // As at every save, a failed one leaves the old file as it was; say why and go on.
  if (Status saved = prefs_save(prefs_, gvar_); !saved && err_) {
    *err_ << "tolvan: the preferences could not be saved: " << saved.error() << "\n";
  }
  abbr_free_all_folder_lists(library_);
  status_ = status;
  steps_.leave_main_loop();
  return true;
}

}  // namespace tolvan
