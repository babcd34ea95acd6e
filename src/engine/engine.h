// Engine: Tolvan's expansion engine put together: the hook thread with its monitor, the
// output thread, and the interactive-input state they share; its start, stop and enable
// switch. It listens to the library so that the key buffer and the matcher follow
// every change of the main list.
#pragma once

#include <memory>

#include "engine/hook/hook_side.h"
#include "engine/hook/hook_thread.h"
#include "engine/output/interactive_input_state.h"
#include "engine/output/output_thread.h"
#include "engine/hook/monitor.h"
#include "library/library.h"
#include "platform/platform.h"

namespace tolvan {

// Which of the engine's hooks are installed.
struct InstalledHooks {
  bool keyboard = false;
  bool mouse = false;
  friend bool operator==(const InstalledHooks&, const InstalledHooks&) = default;
};

class Engine final : public HookSide, public LibraryListener {
 public:
  // `tooltip` and `launcher` may be null (no tooltip shown, nothing launched).
  Engine(Platform platform, Library& library, MacroEnvironment environment,
         Tooltip* tooltip = nullptr, LaunchHandler* launcher = nullptr);
  ~Engine() override;
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Both threads, the keyboard hook, the mouse hook, the key buffer sized; a partial start
  // is undone and answers false.
  bool start();
  // With force false a hook that cannot be removed keeps the hook thread alive and answers
  // false, so that a later stop can try again.
  bool stop(bool force);
  // The enable switch: only the keyboard hook comes and goes.
  bool install_keyboard_hook();
  bool uninstall_keyboard_hook();
  InstalledHooks installed_hooks() const { return installed_; }
  bool enabled() const { return installed_.keyboard; }

  // The preferences were (re)loaded: the hook, the output thread and the tooltip take
  // their copies, since none of them may read the list the main thread owns.
  void prefs_reloaded(Settings& prefs);
  // The abbreviation menu's insertion, queued on the hook thread in turn with its requests.
  void insert_abbrev(std::unique_ptr<Abbreviation> abbreviation);
  // Forgets what was typed (the main window's editors ask for it).
  void clear_key_buffer() { hook_thread_.post(MonMessage::ClearKeyBuffer); }

  // True when no request waits for the hook thread and the output thread has nothing
  // queued or running (an interactive input waiting for the user counts as settled when
  // `user_may_type`).
  bool settled(bool user_may_type) const;
  // Blocks until the output thread has nothing queued or running (or, when
  // `user_may_type`, waits for the user's interactive input).
  void wait_output(bool user_may_type) {
    keysim_.wait(user_may_type ? OutputThread::Until::kIdleOrWaitingForUser : OutputThread::Until::kIdle);
  }

  // HookSide
  void post(MonMessage message) override { hook_thread_.post(message); }
  void before_replace() override { monitor_.before_replace(); }
  void caps_lock_preppy() override { monitor_.caps_lock_preppy(); }

  // LibraryListener
  void main_list_freeing() override { monitor_.main_list_freeing(); }
  void main_list_changed() override { hook_thread_.request(MonMessage::LibraryChanged); }
  void main_list_reloaded() override { hook_thread_.request(MonMessage::AdjustKeyBuffer); }

 private:
  // Asks the hook thread to install or remove a hook; `installed` follows its answer.
  bool change_hook(MonMessage message, bool& installed, bool install);

  Library& library_;
  Tooltip* tooltip_;
  InteractiveInputState ii_;
  OutputThread keysim_;
  Monitor monitor_;
  HookThread hook_thread_;
  InstalledHooks installed_;
};

}  // namespace tolvan
