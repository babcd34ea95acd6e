// RecordingSteps: the program around the start and quit sequences, as a double that records
// each step by name and answers the few questions the sequences ask of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/program_steps.h"

namespace tolvan::testing {

class RecordingSteps final : public ProgramSteps {
 public:
  std::vector<std::string> calls;
  bool first_instance = true;   // claim_single_instance's answer
  bool engine_starts = true;    // start_engine's answer
  bool unapplied = false;       // has_unapplied_changes' answer
  bool hook = false;            // the keyboard hook is installed
  std::string claimed_data_dir;
  // What the user does while the main loop runs.
  std::function<void()> while_running;

  bool claim_single_instance(const CommandLine&, const ProgramFolders& folders) override {
    claimed_data_dir = folders.current_appdata_dir;
    return record("claim_single_instance"), first_instance;
  }
  void init_toolkit() override { record("init_toolkit"); }
  void create_tray() override { record("create_tray"); }
  void listen_for_second_instances() override { record("listen_for_second_instances"); }
  void create_tooltip_window() override { record("create_tooltip_window"); }
  void register_hotkeys() override { record("register_hotkeys"); }
  void reshape_lists_for_textexpander() override { record("reshape_lists_for_textexpander"); }
  void tell_sync_main_list_loaded() override { record("tell_sync_main_list_loaded"); }
  void register_folder_hotkeys() override { record("register_folder_hotkeys"); }
  void show_tray_icon() override { record("show_tray_icon"); }
  void build_main_window(bool show) override {
    record(show ? "build_main_window shown" : "build_main_window hidden");
  }
  bool start_engine() override {
    record("start_engine");
    hook = engine_starts;
    return engine_starts;
  }
  void expand_top_folder() override { record("expand_top_folder"); }
  void show_launchpad() override { record("show_launchpad"); }
  void import_te_snippets(const std::string& path) override { record("import_te_snippets " + path); }
  void import_abbrevs(const std::string& path) override { record("import_abbrevs " + path); }
  void arm_update_check() override { record("arm_update_check"); }
  void arm_sync_poll() override { record("arm_sync_poll"); }
  void run_main_loop() override {
    record("run_main_loop");
    if (while_running) while_running();
  }
  void show_main_window() override { record("show_main_window"); }
  bool has_unapplied_changes() override { return unapplied; }
  void apply_changes() override {
    record("apply_changes");
    unapplied = false;
  }
  void destroy_tooltip_window() override { record("destroy_tooltip_window"); }
  void stop_engine() override {
    record("stop_engine");
    hook = false;
  }
  void destroy_main_window() override { record("destroy_main_window"); }
  void remove_tray() override { record("remove_tray"); }
  void stop_listening() override { record("stop_listening"); }
  void destroy_launchpad() override { record("destroy_launchpad"); }
  void unregister_hotkeys() override { record("unregister_hotkeys"); }
  void leave_main_loop() override { record("leave_main_loop"); }

  bool keyboard_hook_installed() const override { return hook; }
  bool install_keyboard_hook() override {
    record("install_keyboard_hook");
    return hook = true;
  }
  bool remove_keyboard_hook() override {
    record("remove_keyboard_hook");
    hook = false;
    return true;
  }

  // The calls from `first` on (all of them when `first` was not called).
  std::vector<std::string> from(const std::string& first) const {
    for (size_t i = 0; i < calls.size(); ++i) {
      if (calls[i] == first) return {calls.begin() + static_cast<long>(i), calls.end()};
    }
    return calls;
  }

 private:
  void record(std::string name) { calls.push_back(std::move(name)); }
};

}  // namespace tolvan::testing
