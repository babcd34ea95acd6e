// A double of the Preferences window's OK steps: records each call as a short text (so that
// tests check the order), answers as the test sets it up, and switches TextExpander mode
// in the preferences as the program does.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "presenters/preferences/prefs_apply.h"

namespace tolvan::testing {

class RecordingPreferencesSteps final : public PreferencesSteps {
 public:
  explicit RecordingPreferencesSteps(Settings& prefs) : prefs_(prefs) {}

  std::vector<std::string> calls;
  bool nested = false;
  std::map<std::string, bool> files;
  std::vector<Status> saves;  // answers of save_library_as, front first; then success
  bool save_changes_first_answer = true;
  SyncEnabling own_answer = SyncEnabling::Done;
  SyncEnabling te_answer = SyncEnabling::SyncWithExisting;
  bool restore_answer = true;
  bool typo_folder = false;

  void set_sync_suspended(bool s) override { calls.push_back(s ? "suspend sync" : "resume sync"); }
  bool library_has_nested_folders() override { return nested; }
  void set_textexpander_mode(bool on) override {
    calls.push_back(on ? "te mode on" : "te mode off");
    prefs_.set("textexpander_mode", on ? "1" : "0");
  }
  bool file_exists(const std::string& path) override { return files[path]; }
  bool save_library_changes_first() override {
    calls.push_back("save changes first");
    return save_changes_first_answer;
  }
  Status save_library_as(const std::string& file) override {
    calls.push_back("save library as " + file);
    if (saves.empty()) return Status::success();
    Status next = saves.front();
    saves.erase(saves.begin());
    return next;
  }
  SyncEnabling own_sync_just_enabled(const std::string& file) override {
    calls.push_back("own sync " + file);
    return own_answer;
  }
  bool restore_default_library_location() override {
    calls.push_back("restore default location");
    return restore_answer;
  }
  SyncEnabling te_sync_just_enabled(const std::string& file) override {
    calls.push_back("te sync " + file);
    return te_answer;
  }
  void file_locations_changed() override { calls.push_back("file locations"); }
  void view_settings_changed(bool bottom) override {
    calls.push_back(bottom ? "view (bottom buttons)" : "view");
  }
  bool starts_at_login() override { return false; }
  void set_start_at_login(bool on) override { calls.push_back(on ? "login on" : "login off"); }
  void reregister_hotkeys() override { calls.push_back("hotkeys"); }
  void engine_prefs_reloaded() override { calls.push_back("engine"); }
  Status save_prefs() override {
    calls.push_back("save prefs");
    return Status::success();
  }
  void consolidate_backups() override { calls.push_back("consolidate"); }
  void move_backups(const std::string& folder) override { calls.push_back("move backups " + folder); }
  void delete_all_backups() override { calls.push_back("delete backups"); }
  void create_backup() override { calls.push_back("create backup"); }
  bool has_typo_autocorrection_folder() override { return typo_folder; }
  void te_prefs_modified() override { calls.push_back("te prefs"); }

 private:
  Settings& prefs_;
};

}  // namespace tolvan::testing
