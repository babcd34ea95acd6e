#include "ui/desktop_program.h"

#include <cstdlib>
#include <glib-unix.h>
#include <glibmm/main.h>
#include <gtk/gtk.h>
#include <signal.h>

#include <chrono>
#include <iostream>

#include "app/handover_bus.h"
#include "settings/gvar.h"
#include "ui/gl_probe.h"

namespace tolvan::ui {
namespace {

// How long a second start keeps trying to reach the first one that is still starting.
constexpr std::chrono::milliseconds kHandoverBudget{900};

}  // namespace

// The enabled switch's news for the tray icon.
class DesktopProgram::StateToTray final : public StateListener {
 public:
  explicit StateToTray(TrayPresenter& tray) : tray_(tray) {}
  void app_state_changed(int state) override { tray_.app_state_changed(state); }

 private:
  TrayPresenter& tray_;
};

DesktopProgram::DesktopProgram()
    : app_(folders_, *this, prompts_),
      tray_([this](TrayIcon::Backend) {
        tray_ready_ = true;
        note_ready();
      }) {}

DesktopProgram::~DesktopProgram() {
  for (unsigned id : signal_sources_) g_source_remove(id);
}

int DesktopProgram::run(const std::vector<std::string>& argv) {
  return app_.run(argv, std::cout, std::cerr);
}

bool DesktopProgram::claim_single_instance(const CommandLine& command_line,
                                           const ProgramFolders& folders) {
  instance_ = std::make_unique<SingleInstance>(folders.current_appdata_dir);
  if (instance_->claim()) {
    if (!instance_->lock_error().empty()) {
      std::cerr << "tolvan: " << instance_->lock_error()
                << "; another Tolvan on the same folder cannot be noticed.\n";
    }
    return true;
  }
  Handover handover{folders_.current_dir(), std::nullopt};
  if (!command_line.import_path.empty()) handover.import_path = command_line.import_path;
  if (!instance_->hand_over(handover, kHandoverBudget)) {
    g_info("the running Tolvan could not be reached");
  }
  return false;
}

void DesktopProgram::init_toolkit() {
  skip_gl_probe();
  gtk_ = Gtk::Application::create(instance_->application_id(), Gio::APPLICATION_FLAGS_NONE);
  gtk_->property_register_session() = true;  // the session's end reaches us as a quit
  add_handover_action(G_APPLICATION(gtk_->gobj()),
                      [this](const Handover& handover) { handover_arrived(handover); });
  gtk_->signal_activate().connect([this] {
    // The first activation is the application's own start; later ones come from the desktop.
    if (local_activate_seen_) show_main_window();
    local_activate_seen_ = true;
  });
  try {
    gtk_->register_application();  // GTK starts here, and the name is owned on the bus
  } catch (const Glib::Error& e) {
    std::cerr << "tolvan: " << e.what() << "\n";
  }
  if (gtk_->is_remote()) {
    std::cerr << "tolvan: another program holds " << instance_->application_id()
              << " on the session bus; second starts reach Tolvan through its socket only.\n";
  }
  gtk_->hold();
  prompts_.boxes = std::make_unique<MessageBoxes>();
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
    signal_sources_.push_back(g_unix_signal_add(
        signal_number,
        [](gpointer self) -> gboolean {
          static_cast<DesktopProgram*>(self)->app_.quit(0, false);
          return G_SOURCE_CONTINUE;
        },
        this));
  }
}

void DesktopProgram::create_tray() {
  tray_presenter_ = std::make_unique<TrayPresenter>(tray_, *this);
  state_to_tray_ = std::make_unique<StateToTray>(*tray_presenter_);
  app_.enabled_switch().add_listener(state_to_tray_.get());
  tray_.attach(*tray_presenter_);
}

void DesktopProgram::listen_for_second_instances() {
  Status listening =
      instance_->listen([this](const Handover& handover) { handover_arrived(handover); });
  if (!listening) std::cerr << "tolvan: " << listening.error() << "\n";
}

void DesktopProgram::create_tooltip_window() {
  tooltip_window_ = std::make_unique<TooltipWindow>();
}

void DesktopProgram::register_hotkeys() {
  abbrev_menu_ = std::make_unique<AbbrevMenu>(app_.library(), app_.prefs());
  auto expander = Expander::open(app_.library(), app_.prefs(), *this,
                                 {tooltip_window_.get(), abbrev_menu_.get()},
                                 portable_mode(app_.gvar()));
  if (!expander) {
    expander_error_ = expander.error();
    return;
  }
  expander_ = std::move(*expander);
  abbrev_menu_->attach(expander_->windows(), [this](std::unique_ptr<Abbreviation> abbreviation) {
    if (expander_) expander_->engine().insert_abbrev(std::move(abbreviation));
  });
  expander_->register_hotkeys();
}

// TextExpander mode is not part of the program yet: both lists stay as loaded.
void DesktopProgram::reshape_lists_for_textexpander() {}
// The sync shows itself in the main window, so it is told of the loaded list as soon as
// that window exists (build_main_window).
void DesktopProgram::tell_sync_main_list_loaded() {}
void DesktopProgram::register_folder_hotkeys() {
  if (expander_) expander_->register_folder_hotkeys(MAIN_LIST);
}
// Apply registers the working copy's hotkeys just before it becomes the main list.
void DesktopProgram::register_sandbox_folder_hotkeys() {
  if (expander_) expander_->register_folder_hotkeys(SANDBOX);
}

void DesktopProgram::show_tray_icon() { tray_presenter_->set_visible(true); }

void DesktopProgram::build_main_window(bool show) {
  EditorServices services;
  services.stored_path = [this](const std::string& path) { return relativify_path_if_necessary(path, app_.gvar()); };
  if (expander_) browsers_ = std::make_unique<ShellBrowsers>(expander_->shell());
  main_window_ = std::make_unique<MainWindow>(MainWindowContext{
      app_.library(), app_.prefs(), app_.gvar(), prompts_, app_.enabled_switch(), *this,
      [this] {
        if (expander_) expander_->engine().clear_key_buffer();
      },
      [this] { app_.quit(0); }, file_dialogs_, browsers_.get(), std::move(services),
      expander_ && expander_->shell().can_run_as_administrator()});
  app_.enabled_switch().add_listener(main_window_.get());
  prompts_.boxes->set_parent(main_window_.get());
  file_dialogs_.set_parent(main_window_.get());
  gtk_->add_window(*main_window_);
  services_ = std::make_unique<MainWindowServices>(MainWindowServicesDeps{
      *main_window_, app_.library(), app_.prefs(), app_.gvar(), prompts_, expander_.get()});
  main_window_->program_action = [this](const std::string& action, const Folder* folder) {
    return services_->handle_action(action, folder);
  };
  services_->sync().main_list_just_loaded();
  services_->sync().read_te_at_start();
  if (show) main_window_->show_from_tray();
}

bool DesktopProgram::start_engine() {
  if (!expander_) {
    std::cerr << "tolvan: " << expander_error_ << "\n";
    return false;
  }
  if (!expander_->start()) return false;
  g_info("hooks installed");
  engine_ready_ = true;
  note_ready();
  return true;
}

void DesktopProgram::note_ready() {
  if (engine_ready_ && tray_ready_) g_info("ready: hooks installed, tray icon registered");
}

void DesktopProgram::expand_top_folder() {
  if (main_window_) main_window_->folder_view().expand_row(Gtk::TreePath("0"), false);
}
// Made hidden at start-up, shown by the hotkey later.
void DesktopProgram::show_launchpad() {
  if (!launch_pad_) {
    launch_pad_ = std::make_unique<LaunchPad>();
    if (expander_) expander_->launcher().set_launch_pad(launch_pad_.get());
  }
  launch_pad_->show(!main_loop_running_);
}

void DesktopProgram::import_te_snippets(const std::string& path) {
  g_info("asked to import TextExpander snippets from %s", path.c_str());
  // From a hand-over the import waits for the main loop, as the window's own menu does.
  Glib::signal_idle().connect_once([this, path] {
    if (services_) services_->transfers().import_te_snippets(path);
  });
}
// The native import (its mode dialog and the main window's refresh) is not part of the
// program yet.
void DesktopProgram::import_abbrevs(const std::string& path) {
  g_info("asked to import %s", path.c_str());
  Glib::signal_idle().connect_once([this, path] {
    if (services_) services_->transfers().import_abbrevs(path);
  });
}

// The update check is not part of the program yet.
void DesktopProgram::arm_update_check() {}
void DesktopProgram::arm_sync_poll() {
  sync_poll_ = Glib::signal_timeout().connect(
      [this] { return services_ && services_->sync().poll(); }, 2000);
}

bool DesktopProgram::sync_before_apply() {
  return !services_ || services_->sync().write_before_apply() != SyncWrite::Failed;
}

void DesktopProgram::library_saved() {
  if (services_) services_->sync().library_saved();
}

void DesktopProgram::run_main_loop() {
  main_loop_running_ = true;
  // Hand-overs that arrived while the start was under way (a dialog let the loop turn).
  std::vector<Handover> early = std::move(early_handovers_);
  for (const Handover& h : early) app_.accept_handover(h);
  if (gtk_->is_remote()) {
    Glib::MainLoop::create()->run();  // run() would only pass the start on to the name's owner
  } else {
    gtk_->run();
  }
  main_loop_running_ = false;
}

void DesktopProgram::handover_arrived(const Handover& handover) {
  g_info("a second start handed over%s%s", handover.import_path ? " the file " : "",
         handover.import_path ? handover.import_path->c_str() : "");
  if (app_.quitting()) return;
  if (!main_loop_running_) {
    early_handovers_.push_back(handover);
    return;
  }
  app_.accept_handover(handover);
}

void DesktopProgram::show_main_window() {
  g_info("asked to show the main window");
  if (main_window_) main_window_->show_from_tray();
}

bool DesktopProgram::has_unapplied_changes() {
  return main_window_ && main_window_->pending_changes().has_unapplied_changes();
}
void DesktopProgram::apply_changes() {
  if (main_window_) main_window_->pending_changes().apply_changes();
}

void DesktopProgram::destroy_tooltip_window() {
  if (expander_) expander_->destroy_tooltip();
}

void DesktopProgram::stop_engine() {
  if (expander_) expander_->stop();
}

void DesktopProgram::destroy_main_window() {
  if (!main_window_) return;
  sync_poll_.disconnect();
  main_window_->save_state();
  main_window_->program_action = nullptr;
  services_.reset();
  app_.enabled_switch().remove_listener(main_window_.get());
  prompts_.boxes->set_parent(nullptr);
  file_dialogs_.set_parent(nullptr);
  if (gtk_) gtk_->remove_window(*main_window_);
  main_window_.reset();
}

void DesktopProgram::remove_tray() {
  if (tray_presenter_) tray_presenter_->set_visible(false);
  if (state_to_tray_) app_.enabled_switch().remove_listener(state_to_tray_.get());
  tray_.detach();
}

void DesktopProgram::stop_listening() {
  if (instance_) instance_->stop_listening();
}

void DesktopProgram::destroy_launchpad() {
  if (expander_) expander_->launcher().set_launch_pad(nullptr);
  if (launch_pad_) launch_pad_->destroy();
}

void DesktopProgram::unregister_hotkeys() {
  if (!expander_) return;
  expander_->unregister_hotkeys();
  if (abbrev_menu_) abbrev_menu_->destroy();
  expander_.reset();  // the display's last user: the clipboard goes back to the desktop
}

void DesktopProgram::leave_main_loop() {
  // Quitting from inside a dialog's own loop (the session ends while an import waits for
  // an answer): the windows and the library that flow works on are gone, so it must never
  // resume; everything the quit owes is done.
  if (g_main_depth() > 1) std::_Exit(app_.status());
  for (unsigned id : signal_sources_) g_source_remove(id);
  signal_sources_.clear();
  if (!gtk_) return;
  gtk_->release();
  gtk_->quit();
}

bool DesktopProgram::keyboard_hook_installed() const {
  return expander_ && expander_->keyboard_hook_installed();
}
bool DesktopProgram::install_keyboard_hook() {
  return expander_ && expander_->install_keyboard_hook();
}
bool DesktopProgram::remove_keyboard_hook() {
  return expander_ && expander_->remove_keyboard_hook();
}

void DesktopProgram::set_state(int state) { app_.enabled_switch().set_state(state); }
int DesktopProgram::state() const {
  return keyboard_hook_installed() ? TOLVAN_STATE_ENABLED : TOLVAN_STATE_DISABLED;
}
void DesktopProgram::quit() { app_.quit(0); }

bool DesktopProgram::ctrl_held() const {
  // Asked of the server now: a tray host's click carries no modifiers, and GDK's own record
  // of them follows only the lock keys.
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return false;
  GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
  GdkModifierType mask{};
  gdk_window_get_device_position(gdk_get_default_root_window(), pointer, nullptr, nullptr, &mask);
  return (mask & GDK_CONTROL_MASK) != 0;
}

bool DesktopProgram::provides(int hotkey_id) const {
  return hotkey_id == kToggleStatusHotkeyId || hotkey_id == kShowMainWindowHotkeyId ||
         hotkey_id == kAbbrevMenuHotkeyId || hotkey_id == kLaunchPadHotkeyId;
}
void DesktopProgram::toggle_status() { app_.enabled_switch().toggle(); }
void DesktopProgram::show_abbrev_menu() {
  if (abbrev_menu_) abbrev_menu_->show_all_folders();
}

}  // namespace tolvan::ui
