#include "engine/engine.h"

namespace tolvan {

Engine::Engine(Platform platform, Library& library, MacroEnvironment environment,
               Tooltip* tooltip, LaunchHandler* launcher)
    : library_(library),
      tooltip_(tooltip),
      keysim_(platform, *this, ii_, std::move(environment), launcher),
      monitor_(
          platform, library, ii_,
          [this](std::unique_ptr<TypedAbbrevInfo> record) {
            keysim_.replace_typed_abbreviation(std::move(record));
          },
          tooltip),
      hook_thread_(monitor_) {
  library_.add_listener(this);
}

Engine::~Engine() {
  stop(true);
  library_.remove_listener(this);
}

bool Engine::change_hook(MonMessage message, bool& installed, bool install) {
  if (!hook_thread_.request(message)) return false;
  installed = install;
  return true;
}

bool Engine::install_keyboard_hook() {
  return change_hook(MonMessage::InstallKeyboardHook, installed_.keyboard, true);
}
bool Engine::uninstall_keyboard_hook() {
  return change_hook(MonMessage::UninstallKeyboardHook, installed_.keyboard, false);
}

bool Engine::start() {
  hook_thread_.create();
  if (!keysim_.create_thread() || !install_keyboard_hook() ||
      !change_hook(MonMessage::InstallMouseHook, installed_.mouse, true) ||
      !hook_thread_.request(MonMessage::AdjustKeyBuffer)) {
    stop(false);
    return false;
  }
  return true;
}

bool Engine::stop(bool force) {
  if (!hook_thread_.running()) {
    keysim_.destroy_thread();
    return true;
  }
  bool keyboard = uninstall_keyboard_hook();
  bool mouse = change_hook(MonMessage::UninstallMouseHook, installed_.mouse, false);
  hook_thread_.post(MonMessage::ClearKeyBuffer);
  if (!force && (!keyboard || !mouse)) {
    keysim_.destroy_thread();
    return false;
  }
  hook_thread_.destroy();
  keysim_.destroy_thread();
  return true;
}

void Engine::prefs_reloaded(Settings& prefs) {
  monitor_.set_prefs(prefs);
  keysim_.set_prefs(OutputPrefs::from(prefs));
  if (tooltip_) tooltip_->set_prefs(prefs);
}

void Engine::insert_abbrev(std::unique_ptr<Abbreviation> abbreviation) {
  hook_thread_.post_insert_abbrev(std::move(abbreviation));
}

bool Engine::settled(bool user_may_type) const {
  if (!hook_thread_.idle()) return false;
  if (keysim_.waiting_for_user()) {
    // The input waits for the user once the hook watches keys again, and until the user
    // pressed Tab or left it (the output then goes on).
    const bool input_over = ii_.continue_key_pressed() || ii_.ended_abruptly();
    return user_may_type && !input_over && !monitor_.temp_disabled();
  }
  return !keysim_.busy() && !monitor_.temp_disabled();
}

}  // namespace tolvan
