// Simulation: Tolvan's real engine on the simulated desktop, with a focused text window (and
// a second window to switch to) and a user who types in the key language of
// `tolvan-cli simulate`:
//   plain characters   typed with the keys that make them on the layout (Caps Lock off)
//   {Name}             taps the key of that name in the key-macro table ({Tab}, {Enter},
//                      {Ctrl}, {Left}, {Esc}, {CapsLock}, {BkSp}, ...)
//   {Name down}/{Name up}  presses or releases it
//   {focus}            moves the focus to the other window and back
//   {click}            a mouse click
//   {wait N}           N milliseconds of time pass
//   {{ and }}          braces
// Every key event, each of the keys that type one character too, is sent once the engine is
// idle or waits for the user's interactive input.
#pragma once

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"
#include "engine/engine.h"
#include "engine/tooltip/tooltip.h"
#include "library/library.h"
#include "platform/sim/desktop.h"
#include "platform/sim/user.h"
#include "settings/settings.h"

namespace tolvan {

struct SimulationOptions {
  const sim::Layout* layout = nullptr;  // US when null
  // Whether the desktop keeps a key Tolvan swallows from the application, as Windows does.
  // By default it does not, as on X11, the desktop Tolvan ships for: the key reaches the
  // application and Tolvan makes up for it.
  bool can_swallow = false;
  std::optional<std::time_t> now;       // "now" of the date macros; the real time when empty
  // The preview of waiting abbreviations, shown in this view on these timers (no preview
  // without them).
  TooltipView* tooltip_view = nullptr;
  MainLoopTimers* tooltip_timers = nullptr;
};

class Simulation {
 public:
  // `library` and `prefs` outlive the simulation; the engine starts at once.
  Simulation(Library& library, Settings& prefs, SimulationOptions options = {});
  ~Simulation();

  // Runs a key sequence; stops with a message at a key that cannot be typed or a name that
  // is not a key.
  Status keys(std::string_view sequence);
  // Waits until the engine is idle (or, with `user_may_type`, waits for the user); false
  // when it did not settle within a generous real-time bound. Without `user_may_type` an
  // interactive input waiting for the user keeps it waiting.
  bool settle(bool user_may_type = true);

  // The focused window's text, with the caret marked "|" when asked.
  std::string text(bool show_caret = false) const;
  sim::Desktop& desktop() { return desktop_; }
  sim::User& user() { return user_; }
  Engine& engine() { return *engine_; }
  WindowId window() const { return window_; }
  WindowId other_window() const { return other_; }

 private:
  Status key_command(std::string_view command);
  // The user's wait before each key event; after one that did not settle the user no
  // longer waits, and keys() reports it.
  void before_user_key();

  sim::Desktop desktop_;
  sim::User user_{desktop_};
  WindowId window_ = 0;
  WindowId other_ = 0;
  std::unique_ptr<Tooltip> tooltip_;
  std::unique_ptr<Engine> engine_;
  bool stalled_ = false;
};

}  // namespace tolvan
