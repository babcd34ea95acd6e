// MainWindowServices: what the main window reaches beyond itself: imports and exports
// with their dialogs, the Preferences window, and the shared-folder sync that reads other
// computers' changes into the library and shows itself in the window. The program makes
// one once its main window and its expander exist, and destroys it before the window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <sigc++/trackable.h>
#include <string>

#include "app/expander.h"
#include "core/prompts.h"
#include "import/shared_folder_sync.h"
#include "import/te_change_hooks.h"
#include "library/library.h"
#include "platform/x11/xdg_autostart.h"
#include "settings/gvar.h"
#include "settings/settings.h"
#include "ui/library_window/library_transfers.h"
#include "ui/library_window/main_window.h"
#include "ui/library_window/main_window_import_target.h"
#include "ui/native_file_dialogs.h"
#include "ui/preferences_steps.h"
#include "ui/preferences_window.h"
#include "ui/sync_question_dialogs.h"

namespace tolvan::ui {

struct MainWindowServicesDeps {
  MainWindow& window;
  Library& library;
  Settings& prefs;
  RunTimeVariables& gvar;
  Prompts& prompts;
  Expander* expander;  // none: no engine runs (its hotkeys are not registered again)
};

class MainWindowServices final : public sigc::trackable, private SyncWindow {
 public:
  explicit MainWindowServices(MainWindowServicesDeps deps);
  ~MainWindowServices() override;
  MainWindowServices(const MainWindowServices&) = delete;
  MainWindowServices& operator=(const MainWindowServices&) = delete;

  // The main window's menu actions that are carried out here, from the menu bar (no
  // folder) or a folder's menu; false for any other.
  bool handle_action(const std::string& action, const Folder* folder);

  LibraryTransfers& transfers() { return *transfers_; }
  SharedFolderSync& sync() { return sync_; }

  // TextExpander mode keeps the TextExpander data of what changes in step; out of it the
  // library has no such hooks.
  void follow_textexpander_mode();

 private:
  // SyncWindow
  bool has_unapplied_changes() const override;
  void show_syncing(bool syncing) override;
  void reset_from_main_list() override;

  void show_preferences();
  // What the menu action (of a folder's menu, with its folder) does when it is one of these
  // services'; empty otherwise.
  std::function<void()> action_of(const std::string& action, const Folder* folder);

  MainWindowServicesDeps deps_;
  NativeFileDialogs dialogs_;
  DialogSyncQuestions sync_questions_;
  SharedFolderSync sync_;
  TeChangeHooks te_hooks_;
  MainWindowImportTarget import_target_;
  std::unique_ptr<LibraryTransfers> transfers_;
  XdgAutostart autostart_;
  ProgramPreferencesSteps prefs_steps_;
  std::unique_ptr<PreferencesWindow> prefs_window_;
};

}  // namespace tolvan::ui
