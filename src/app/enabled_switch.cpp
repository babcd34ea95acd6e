#include "app/enabled_switch.h"

#include <algorithm>

namespace tolvan {

void EnabledSwitch::remove_listener(StateListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

int EnabledSwitch::state() const {
  return hook_.keyboard_hook_installed() ? TOLVAN_STATE_ENABLED : TOLVAN_STATE_DISABLED;
}

bool EnabledSwitch::set_state(int state) {
  if (state == TOLVAN_STATE_ENABLED) {
    if (!hook_.keyboard_hook_installed() && !hook_.install_keyboard_hook()) return false;
  } else if (state == TOLVAN_STATE_DISABLED) {
    if (hook_.keyboard_hook_installed() && !hook_.remove_keyboard_hook()) return false;
  } else {
    return false;
  }
  // A listener may answer by asking for the state it was just shown (the tray's check item
  // fires "toggled" when it is set); that request finds the hook as it is and changes nothing.
  const std::vector<StateListener*> listeners = listeners_;
  for (StateListener* l : listeners) l->app_state_changed(state);
  return true;
}

}  // namespace tolvan
