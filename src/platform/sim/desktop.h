// The simulated Windows desktop: windows that hold text fields, the focus, the input stream
// that every typed and injected event travels through (keyboard hook first, then the key
// state, hotkeys and the focused application), the keyboard layouts' translation, the
// clipboard, the sound and virtual time. It implements the platform interfaces with the
// semantics the engine assumes; platform() hands them over as one value.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/event_log.h"
#include "platform/sim/key_states.h"
#include "platform/sim/layout.h"
#include "platform/sim/sim_clipboard.h"
#include "platform/sim/text_field.h"
#include "platform/sim/virtual_clock.h"

namespace tolvan::sim {

struct DesktopOptions {
  // false: observed events cannot be swallowed (a Swallow answer is ignored), as on X11.
  bool can_swallow = true;
  // false: translation in the hook keeps its own dead-key state instead of sharing the
  // application's, as on X11.
  bool translation_consumes_dead_keys = true;
};

class Desktop final : public KeyboardHook,
                      public KeyboardState,
                      public InputSynth,
                      public Windows,
                      public Sound,
                      public Hotkeys {
 public:
  explicit Desktop(DesktopOptions options = {});
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // Every platform interface, backed by this desktop, its clipboard and its clock.
  Platform platform();
  VirtualClock& clock() { return clock_; }
  SimClipboard& clipboard() { return clipboard_; }
  // The X-style PRIMARY selection, which the fields paste on Shift+Insert.
  SimClipboard& primary() { return primary_; }
  EventLog& log() { return log_; }
  const EventLog& log() const { return log_; }
  const DesktopOptions& options() const { return options_; }

  // --- windows ---
  // A new top-level window with a text field holding `text` (caret at its end); it does
  // not take the focus. Window frames are laid out side by side; characters are 8 x 16.
  WindowId add_window(const std::string& class_name, const Layout& layout = us_layout(),
                      const std::string& text = "");
  // The user brings a window to the front (0: no window has the focus).
  void focus(WindowId window);
  void close_window(WindowId window);
  void set_layout(WindowId window, const Layout& layout);
  // false: the window's application does not report its caret.
  void set_reports_caret(WindowId window, bool reports);
  // The window's application is busy: it fetches the clipboard for a paste `ms` after it
  // sees the keys (0: at once, as an idle one does).
  void set_paste_delay(WindowId window, uint32_t ms);
  // The window's application looks at the clipboard's text as soon as it sees the keys, asks
  // which formats it holds, and fetches the text again for the paste itself, the paste delay
  // later (as Chromium does).
  void set_fetches_twice(WindowId window, bool twice);
  std::string text(WindowId window) const;
  std::string text_with_caret(WindowId window) const;
  std::string text_with_selection(WindowId window) const;
  void set_text(WindowId window, const std::string& utf8);
  // Runs fn with the window's field while nothing else touches it (nothing if no window).
  void with_field(WindowId window, const std::function<void(TextField&)>& fn);

  // --- the user's hands (see User for typing text) ---
  // A physical key event on the focused window's layout (scan code and extended flag from
  // the key's position; right Alt on an AltGr layout brings a left Ctrl with it).
  void user_key(uint16_t vk, bool down);
  void user_click(MouseButton button);
  bool user_holds(uint16_t vk) const;
  bool caps_lock_on() const;

  // Blocks until every queued input event has been handled. Not for use inside a hook
  // callback.
  void wait_input_idle();
  // Make the next install (or uninstall) of a hook fail, or keyboard_state() fail.
  void fail_next_hook_install() { fail_next_install_ = true; }
  void fail_next_hook_uninstall() { fail_next_uninstall_ = true; }
  void set_keyboard_state_fails(bool fails) { keyboard_state_fails_ = fails; }
  bool keyboard_hook_installed() const;
  int pops_played() const;
  std::vector<int> hotkey_presses() const;

  // --- KeyboardHook ---
  Status install_keyboard(KeyCallback callback) override;
  Status uninstall_keyboard() override;
  Status install_mouse(MouseCallback callback) override;
  Status uninstall_mouse() override;
  bool can_swallow() const override { return options_.can_swallow; }
  Status grab_key(uint16_t vk) override;
  void ungrab_key(uint16_t vk) override;
  void flush() override { wait_input_idle(); }

  // --- KeyboardState ---
  std::optional<KeyStateArray> keyboard_state() override;
  uint8_t key_state(uint16_t vk) override;
  bool async_down(uint16_t vk) override;
  LayoutId layout_of(WindowId window) override;
  int to_unicode(uint16_t vk, uint16_t scan, const KeyStateArray& state, std::u16string& out,
                 LayoutId layout) override;
  bool translation_consumes_dead_keys() const override {
    return options_.translation_consumes_dead_keys;
  }
  int16_t vk_key_scan(char16_t ch, LayoutId layout) override;
  bool is_dead_key(int16_t key_scan, LayoutId layout) override;
  uint32_t map_virtual_key(uint32_t code, MapType type, LayoutId layout) override;

  // --- InputSynth ---
  void send_key(uint16_t vk, uint16_t scan, uint32_t flags) override;
  bool post_char(WindowId window, char16_t unit) override;
  void pace_keys(bool on, WindowId) override { keys_paced_ = on; }
  bool keys_paced() const { return keys_paced_; }
  // How many key events were sent while keys were paced.
  int paced_key_events() const { return paced_key_events_; }
  // What each prepare_characters call named, with how many injected events had gone before.
  void prepare_characters(const std::u32string& characters) override {
    std::lock_guard lock(prepared_mutex_);
    prepared_.emplace_back(characters, log_.injected().size());
  }
  std::vector<std::pair<std::u32string, size_t>> prepared() const {
    std::lock_guard lock(prepared_mutex_);
    return prepared_;
  }

  // --- Windows ---
  WindowId foreground() override;
  std::string class_name(WindowId window) override;
  std::optional<Caret> caret() override;
  bool bring_to_front(WindowId window) override;
  bool focus_is_secret() override;

  // --- Sound ---
  void play_pop() override;

  // --- Hotkeys ---
  void set_handler(Handler handler) override;
  bool register_hotkey(int id, uint32_t modifiers, uint16_t vk) override;
  void unregister_hotkey(int id) override;

 private:
  std::atomic<bool> keys_paced_{false};
  std::atomic<int> paced_key_events_{0};
  mutable std::mutex prepared_mutex_;
  std::vector<std::pair<std::u32string, size_t>> prepared_;
  struct Window {
    WindowId id = 0;
    std::string class_name;
    const Layout* layout = nullptr;
    Rect frame;
    bool reports_caret = true;
    uint32_t paste_delay_ms = 0;
    bool fetches_twice = false;
    std::optional<uint64_t> paste_due;  // a late paste, when the clock reaches it
    bool pasting_late = false;
    DeadKeyState dead;  // the dead key pending in this window's thread
    TextField field;
  };
  struct InputItem {
    enum class Kind { Key, Mouse, PostedChar } kind = Kind::Key;
    KeyEvent key;
    MouseEvent mouse;
    WindowId post_to = 0;
    char16_t posted = 0;
  };
  struct Hotkey {
    uint32_t modifiers;
    uint16_t vk;
  };

  // Adds events to the input stream and, unless another call is already doing so, handles
  // the stream until it is empty. Called with mutex_ not held.
  void enqueue(std::vector<InputItem> items);
  void handle(InputItem& item);
  void handle_key(KeyEvent& event);
  void handle_mouse(const MouseEvent& event);
  // Calls a hook callback, counting how deep callbacks are nested on the handling thread.
  template <class Callback, class Event>
  auto call_hook(const Callback& callback, const Event& event);
  // Key and character messages for the focused application (mutex_ held).
  void deliver_to_application(const KeyEvent& event, Window& window);
  std::optional<int> hotkey_for(const KeyEvent& event) const;
  KeyMessage message_for(uint16_t vk, bool down) const;
  // The key event items for one key (with the fake left Ctrl of AltGr).
  std::vector<InputItem> key_items(uint16_t vk, uint16_t scan, bool extended, bool down,
                                   bool injected) const;
  // The late pastes whose time has come (mutex_ held).
  void run_due_pastes();
  Window* find(WindowId window);
  const Window* find(WindowId window) const;
  const Layout& focused_layout() const;

  DesktopOptions options_;
  VirtualClock clock_;
  SimClipboard clipboard_{clock_};
  SimClipboard primary_{clock_};
  EventLog log_;

  mutable std::mutex mutex_;
  std::condition_variable idle_;
  std::deque<InputItem> queue_;
  bool draining_ = false;
  std::thread::id drainer_;  // the thread handling the stream while draining_
  int callback_depth_ = 0;   // hook callbacks running on the drainer, nested
  static constexpr int kMaxCallbackDepth = 64;

  std::vector<std::unique_ptr<Window>> windows_;
  WindowId focused_ = 0;
  WindowId next_id_ = 0x10010;
  KeyStates keys_;
  DeadKeyState no_window_dead_;  // translation while no window has the focus
  DeadKeyState hook_dead_;       // the hook's own, when translation does not consume

  KeyCallback keyboard_callback_;
  MouseCallback mouse_callback_;
  std::set<uint16_t> grabbed_;
  bool fail_next_install_ = false;
  bool fail_next_uninstall_ = false;
  bool keyboard_state_fails_ = false;

  Handler hotkey_handler_;
  std::map<int, Hotkey> hotkeys_;
  std::vector<int> hotkey_presses_;
  int pops_ = 0;
};

}  // namespace tolvan::sim
