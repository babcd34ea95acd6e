#include "ui/library_window/main_window_services.h"

#include <glibmm/main.h>
#include <glibmm/miscutils.h>

#include "engine/macros/textexpander_codes.h"
#include "import/dropbox_folder.h"
#include "presenters/library_window/import_flows.h"
#include "settings/prefs.h"

namespace tolvan::ui {

MainWindowServices::MainWindowServices(MainWindowServicesDeps deps)
    : deps_(deps),
      dialogs_(deps.prompts),
      sync_questions_([this]() -> Gtk::Window* {
        if (prefs_window_ && prefs_window_->get_visible()) return prefs_window_.get();
        return deps_.window.get_visible() ? &deps_.window : nullptr;
      }),
      sync_(SyncContext{deps.prefs, deps.gvar, deps.library, deps.prompts, sync_questions_, this,
                        [expander = deps.expander] {
                          if (expander) expander->register_folder_hotkeys(MAIN_LIST);
                        },
                        [this] { follow_textexpander_mode(); }, tolvan_macros_to_te_macros}),
      te_hooks_(TeExportOptions{ModeDefaults{prefs_get_default_case_mode(deps.prefs, ABBR_TYPE_TEXT),
                                             prefs_get_default_trigger_mode(deps.prefs)},
                                abbr_time_now(), tolvan_macros_to_te_macros}),
      import_target_(deps.window, deps.library, [this] { follow_textexpander_mode(); }),
      autostart_(Glib::get_user_config_dir()),
      prefs_steps_(ProgramPreferencesStepsDeps{
          deps.prefs, deps.gvar, deps.library, deps.prompts, deps.expander, sync_,
          BackupContext{deps.prefs, deps.gvar, deps.library, deps.prompts, nullptr, nullptr},
          autostart_,
          [this] {
            if (!deps_.window.pending_changes().has_unapplied_changes()) return true;
            const Answer answer = deps_.prompts.yes_no_cancel(
                "Would you like me to save the changes you made to your abbreviations before "
                "continuing?");
            if (answer == Answer::Cancel) return false;
            if (answer == Answer::Yes) deps_.window.pending_changes().apply_changes();
            return true;
          },
          [this](bool) { deps_.window.view_mode_changed(); }}) {
  dialogs_.set_parent(&deps.window);
  transfers_ = std::make_unique<LibraryTransfers>(
      LibraryTransfersContext{deps.library, deps.prefs, deps.gvar, deps.prompts, dialogs_,
                              deps.window.pending_changes(), import_target_},
      &deps.window);
  follow_textexpander_mode();
}

MainWindowServices::~MainWindowServices() {
  if (deps_.library.hooks == &te_hooks_) deps_.library.hooks = nullptr;
}

void MainWindowServices::follow_textexpander_mode() {
  deps_.library.hooks = deps_.prefs.get_int("textexpander_mode") != 0 ? &te_hooks_ : nullptr;
}

bool MainWindowServices::handle_action(const std::string& action, const Folder* folder) {
  std::function<void()> run = action_of(action, folder);
  if (!run) return false;
  // Each of these runs dialogs of its own. Run from the item's activation, they would keep an
  // accessibility client that activated the item (a screen reader) waiting for its answer
  // until the last dialog closes, and none of the dialogs could be read meanwhile.
  Glib::signal_idle().connect_once(sigc::track_obj(std::move(run), *this));
  return true;
}

std::function<void()> MainWindowServices::action_of(const std::string& action,
                                                    const Folder* folder) {
  if (folder) {  // a folder's menu
    if (action == "Export" || action == "ExportToHTML") {
      return [this, folder, html = action == "ExportToHTML"] {
        transfers_->export_abbrevs(folder, html);
      };
    }
    if (action == "ExportTEGroup") return [this, folder] { transfers_->export_te_snippets(folder); };
    return {};
  }
  if (action == "Import") return [this] { transfers_->import_abbrevs(std::nullopt); };
  if (action == "ImportTE" || action == "TEMenuImportTE") {
    return [this] { transfers_->import_te_snippets(std::nullopt); };
  }
  if (action == "Export") return [this] { transfers_->export_abbrevs(nullptr, false); };
  if (action == "ExportTE" || action == "TEMenuExportTE") {
    return [this] { transfers_->export_te_snippets(nullptr); };
  }
  if (std::string set = included_set_of_action(action); !set.empty()) {
    return [this, set] { transfers_->import_included_set(set); };
  }
  if (action == "Preferences") return [this] { show_preferences(); };
  return {};
}

void MainWindowServices::show_preferences() {
  if (!prefs_window_) {
    prefs_window_ = std::make_unique<PreferencesWindow>(PreferencesWindowDeps{
        deps_.prefs, deps_.gvar, deps_.library, deps_.prompts, dialogs_, prefs_steps_,
        [] { return dropbox_get_folder_path(Glib::get_home_dir()); }});
  }
  prefs_window_->show_over(&deps_.window);
}

bool MainWindowServices::has_unapplied_changes() const {
  return deps_.window.pending_changes().has_unapplied_changes();
}

void MainWindowServices::show_syncing(bool syncing) { deps_.window.show_syncing(syncing); }

void MainWindowServices::reset_from_main_list() { deps_.window.show_fresh_sandbox(); }

}  // namespace tolvan::ui
