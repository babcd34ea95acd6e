// DesktopProgram: the program `tolvan` on the desktop. It does the steps of the start and
// quit sequences (Application) with GTK (a Gtk::Application whose id names the data
// folder), the expander, the tray icon and the single-instance hand-over, answers the tray
// and the application hotkeys, and quits in order on the tray's Exit, SIGTERM, SIGINT,
// SIGHUP and the end of the session.
//
// Questions and errors go to the message boxes once the toolkit runs (to standard error
// before that); the expander previews waiting abbreviations in the tooltip window. Steps
// whose windows or modules are not part of the program yet are empty here, each saying so.
#pragma once

#include <giomm/application.h>
#include <gtkmm/application.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/expander.h"
#include "app/single_instance.h"
#include "core/prompts.h"
#include "launch/app_hotkeys.h"
#include "platform/x11/xdg_folders.h"
#include "presenters/tray_presenter.h"
#include "ui/abbrev_menu.h"
#include "ui/launch_pad.h"
#include "ui/library_window/main_window.h"
#include "ui/library_window/main_window_services.h"
#include "ui/library_window/shell_browsers.h"
#include "ui/message_boxes.h"
#include "ui/native_file_dialogs.h"
#include "ui/tooltip_window.h"
#include "ui/tray_icon.h"

namespace tolvan::ui {

class DesktopProgram final : public ProgramSteps,
                             public TrayActions,
                             public HotkeyActions,
                             private ApplySteps {
 public:
  DesktopProgram();
  ~DesktopProgram() override;

  // The whole run; returns the exit status.
  int run(const std::vector<std::string>& argv);

  // ProgramSteps
  bool claim_single_instance(const CommandLine& command_line, const ProgramFolders& folders) override;
  void init_toolkit() override;
  void create_tray() override;
  void listen_for_second_instances() override;
  void create_tooltip_window() override;
  void register_hotkeys() override;
  void reshape_lists_for_textexpander() override;
  void tell_sync_main_list_loaded() override;
  void register_folder_hotkeys() override;
  void show_tray_icon() override;
  void build_main_window(bool show) override;
  bool start_engine() override;
  void expand_top_folder() override;
  void show_launchpad() override;
  void import_te_snippets(const std::string& path) override;
  void import_abbrevs(const std::string& path) override;
  void arm_update_check() override;
  void arm_sync_poll() override;
  void run_main_loop() override;
  void show_main_window() override;
  bool has_unapplied_changes() override;
  void apply_changes() override;
  void destroy_tooltip_window() override;
  void stop_engine() override;
  void destroy_main_window() override;
  void remove_tray() override;
  void stop_listening() override;
  void destroy_launchpad() override;
  void unregister_hotkeys() override;
  void leave_main_loop() override;

  // KeyboardHookSwitch
  bool keyboard_hook_installed() const override;
  bool install_keyboard_hook() override;
  bool remove_keyboard_hook() override;

  // TrayActions (show_main_window above)
  void set_state(int state) override;
  int state() const override;
  void quit() override;
  bool ctrl_held() const override;

  // HotkeyActions (show_launchpad and show_main_window above)
  bool provides(int hotkey_id) const override;
  void toggle_status() override;
  void show_abbrev_menu() override;

 private:
  class StateToTray;

  // The message boxes once the toolkit runs, standard error before.
  class ProgramPrompts final : public Prompts {
   public:
    void info(std::string_view text) override { current().info(text); }
    void error(std::string_view text) override { current().error(text); }
    bool yes_no(std::string_view text, PromptKind kind) override { return current().yes_no(text, kind); }
    Answer yes_no_cancel(std::string_view text) override { return current().yes_no_cancel(text); }
    bool ask_again(std::string_view text, PromptKind kind, bool dont_show_again) override {
      return current().ask_again(text, kind, dont_show_again);
    }
    AskAgainAnswer yes_no_ask_again(std::string_view text, PromptKind kind,
                                    bool dont_show_again) override {
      return current().yes_no_ask_again(text, kind, dont_show_again);
    }
    std::unique_ptr<MessageBoxes> boxes;

   private:
    Prompts& current() { return boxes ? static_cast<Prompts&>(*boxes) : terminal_; }
    StreamPrompts terminal_{std::cerr};
  };

  // ApplySteps: the shared-folder sync file is written before the flush, and told of the
  // saved library after it; the folders' menu hotkeys follow the working copy.
  bool sync_before_apply() override;
  void register_sandbox_folder_hotkeys() override;
  void library_saved() override;

  void handover_arrived(const Handover& handover);
  void note_ready();

  XdgFolders folders_;
  ProgramPrompts prompts_;
  std::unique_ptr<TooltipWindow> tooltip_window_;  // outlives the expander that uses it
  Application app_;
  std::unique_ptr<SingleInstance> instance_;
  Glib::RefPtr<Gtk::Application> gtk_;
  std::unique_ptr<AbbrevMenu> abbrev_menu_;  // outlive the expander that uses them
  std::unique_ptr<LaunchPad> launch_pad_;
  std::unique_ptr<Expander> expander_;
  std::string expander_error_;
  std::unique_ptr<StateToTray> state_to_tray_;
  TrayIcon tray_;
  std::unique_ptr<TrayPresenter> tray_presenter_;
  NativeFileDialogs file_dialogs_{prompts_};
  std::unique_ptr<ShellBrowsers> browsers_;
  std::unique_ptr<MainWindow> main_window_;
  std::unique_ptr<MainWindowServices> services_;  // goes before the window
  sigc::connection sync_poll_;
  std::vector<unsigned> signal_sources_;
  std::vector<Handover> early_handovers_;  // before the main loop runs
  bool main_loop_running_ = false;
  bool local_activate_seen_ = false;
  bool engine_ready_ = false;
  bool tray_ready_ = false;
};

}  // namespace tolvan::ui
