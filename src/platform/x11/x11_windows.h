// X11Windows: the active window (_NET_ACTIVE_WINDOW of the window manager, else the input
// focus), its WM_CLASS class, and activation through the window manager. The caret is not
// reported yet: it lies at the window's origin.
#pragma once

#include <mutex>

#include "platform/windows.h"
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

 private:
  _XDisplay* display_ = nullptr;
  std::mutex mutex_;
  ActiveWindow active_;
};

}  // namespace tolvan::x11
