// The expander's enabled/disabled switch: enabled exactly while the
// keyboard hook is installed. Whoever shows the state (the tray, the main window's status
// button, tolvan-cli's output) listens, so every view agrees with the hook after each change.
#pragma once

#include <vector>

namespace tolvan {

inline constexpr int TOLVAN_STATE_ENABLED = 0;
inline constexpr int TOLVAN_STATE_DISABLED = 1;

// The keyboard hook as the switch sees it.
class KeyboardHookSwitch {
 public:
  virtual ~KeyboardHookSwitch() = default;
  virtual bool keyboard_hook_installed() const = 0;
  // False when the hook could not be installed or removed; nothing changed then.
  virtual bool install_keyboard_hook() = 0;
  virtual bool remove_keyboard_hook() = 0;
};

class StateListener {
 public:
  virtual ~StateListener() = default;
  // Show `state`.
  virtual void app_state_changed(int state) = 0;
};

class EnabledSwitch {
 public:
  explicit EnabledSwitch(KeyboardHookSwitch& hook) : hook_(hook) {}

  // Listeners are told in the order they were added; each outlives the switch or leaves.
  void add_listener(StateListener* listener) { listeners_.push_back(listener); }
  void remove_listener(StateListener* listener);

  // 0 installs the hook, 1 removes it, then every listener shows the
  // state. When the hook cannot be changed nothing else happens and the answer is false;
  // any other value does nothing.
  bool set_state(int state);
  // tolvan_get_state: 1 when the keyboard hook is not installed, else 0.
  int state() const;
  // The user's toggle (tray check item, status button, toggle-status hotkey).
  bool toggle() { return set_state(state() == TOLVAN_STATE_ENABLED ? TOLVAN_STATE_DISABLED
                                                                    : TOLVAN_STATE_ENABLED); }

 private:
  KeyboardHookSwitch& hook_;
  std::vector<StateListener*> listeners_;
};

}  // namespace tolvan
