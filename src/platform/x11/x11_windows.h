// X11Windows: the active window (_NET_ACTIVE_WINDOW of the window manager, else the input
// focus), its WM_CLASS class, and activation through the window manager. The caret and
// whether the focus is in a password field come from the AT-SPI focus tracker, believed only
// when the focused accessible belongs to the active window's process (_NET_WM_PID) and the
// caret lies inside that window; otherwise the caret lies at the window's origin, unknown.
// The tracker is told to look again whenever the focus may have moved: a key, a click, a
// change of the active window.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/windows.h"
#include "platform/x11/atspi_focus.h"
#include "platform/x11/x11_active_window.h"

struct _XDisplay;

namespace tolvan::x11 {


class X11Windows final : public Windows {
 public:
  X11Windows();
  ~X11Windows() override;
  bool ok() const { return display_ != nullptr; }

  WindowId foreground() override;
  std::string class_name(WindowId window) override;
  std::optional<Caret> caret() override;
  bool bring_to_front(WindowId window) override;
  bool focus_is_secret() override;
  void focus_may_have_moved() override;

  // The AT-SPI focus tracking; null without a display.
  AtspiFocus* focus_tracker() { return focus_.get(); }

 private:
  // The process that owns the window (0 when it does not say); mutex_ held.
  uint32_t window_pid(WindowId window);
  uint32_t foreground_pid();

  _XDisplay* display_ = nullptr;
  std::mutex mutex_;
  WindowId pid_window_ = 0;  // the window window_pid() answered for last, and its answer
  uint32_t pid_ = 0;
  std::unique_ptr<AtspiFocus> focus_;
  ActiveWindow active_;  // after focus_: its thread tells the tracker, and stops first
};

}  // namespace tolvan::x11
