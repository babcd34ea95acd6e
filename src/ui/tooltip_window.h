// TooltipWindow: the expansion preview on the screen, a tooltip-style popup at the point the
// engine chose (below the text caret), in the theme's tooltip style, at most 500 pixels of
// text wide. It never takes the focus from the application the user types in. The engine
// shows it from main-loop timers and hides it from the hook thread, holding its own lock:
// a call only records what is wanted, and the window follows on the main loop (the last
// call winning), so no caller waits for the window to be drawn.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "engine/tooltip/tooltip.h"

namespace Gtk {
class Label;
class Window;
}  // namespace Gtk

namespace tolvan::ui {

inline constexpr int kTooltipMaxTextWidth = 500;

class TooltipWindow final : public TooltipView {
 public:
  TooltipWindow();  // main thread
  ~TooltipWindow() override;
  TooltipWindow(const TooltipWindow&) = delete;
  TooltipWindow& operator=(const TooltipWindow&) = delete;

  void show(int x, int y, const std::string& text) override;  // any thread
  void hide() override;                                       // any thread

  // The popup itself, for looking at it (main thread).
  Gtk::Window& window();
  Gtk::Label& label();

 private:
  struct Wanted {
    int x = 0;
    int y = 0;
    std::string text;
    bool operator==(const Wanted&) const = default;
  };
  // What callers last asked for, shared with the update posted to the main loop, which may
  // still be pending when the window is gone.
  struct Shared {
    std::mutex mutex;
    std::optional<Wanted> wanted;
    bool update_posted = false;
    TooltipWindow* owner = nullptr;  // main thread only
  };
  class Popup;

  void want(std::optional<Wanted> wanted);
  void update();  // main thread: the window as last asked for
  void place(const Wanted& wanted);

  std::shared_ptr<Shared> shared_;
  std::unique_ptr<Popup> popup_;
  std::optional<Wanted> shown_;
};

}  // namespace tolvan::ui
