// InteractiveInputState: the flags the hook thread and the output thread share while an
// Input macro waits for the user. Each is read and written atomically.
#pragma once

#include <atomic>

namespace tolvan {

class InteractiveInputState {
 public:
  bool mode_enabled() const { return mode_.load(); }
  void set_mode_enabled(bool on) { mode_.store(on); }

  // Characters the user typed during the input (the continue key's own is taken back).
  int chars_typed() const { return chars_.load(); }
  void add_chars_typed(int n) { chars_.fetch_add(n); }
  void reset_chars_typed() { chars_.store(0); }

  bool continue_key_pressed() const { return continue_.load(); }
  void set_continue_key_pressed(bool on) { continue_.store(on); }

  bool ended_abruptly() const { return abrupt_.load(); }
  void set_ended_abruptly(bool on) { abrupt_.store(on); }

  // A caret-moving key came first: the default text was kept, not typed over.
  bool unselect_key_pressed_first() const { return unselect_.load(); }
  void set_unselect_key_pressed_first(bool on) { unselect_.store(on); }

  // The input begins: every value reset first, so that the hook never sees the mode on
  // with the flags of an earlier input.
  void start() {
    reset_chars_typed();
    set_continue_key_pressed(false);
    set_ended_abruptly(false);
    set_unselect_key_pressed_first(false);
    set_mode_enabled(true);
  }

 private:
  std::atomic<bool> mode_{false};
  std::atomic<int> chars_{0};
  std::atomic<bool> continue_{false};
  std::atomic<bool> abrupt_{false};
  std::atomic<bool> unselect_{false};
};

// The caret-moving keys that keep the selected default text.
bool mon_vk_will_unselect_selected_text(unsigned vk);

}  // namespace tolvan
