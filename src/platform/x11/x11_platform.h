// X11Platform: the real desktop services on the X display named by DISPLAY, owned in one
// place and handed to the engine as a Platform.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/result.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/x11/pop_sound.h"
#include "platform/sound.h"

namespace tolvan::x11 {

class X11Keyboard;
class X11Hook;
class X11Input;
class X11Windows;
class X11Hotkeys;
class InjectionLedger;
class X11Clipboard;

class X11Platform {
 public:
  // Connects every part to the display; an error says what is missing.
  static Result<std::unique_ptr<X11Platform>> open();
  // Gives up the clipboard selection on the way out, so that nobody asks a Tolvan that
  // is gone for the data.
  ~X11Platform();

  Platform platform();

 private:
  X11Platform();

  SteadyClock clock_;
  PopSound sound_;
  std::unique_ptr<InjectionLedger> ledger_;
  std::unique_ptr<X11Keyboard> keyboard_;
  std::unique_ptr<X11Hook> hook_;
  std::unique_ptr<X11Input> input_;
  std::unique_ptr<X11Windows> windows_;
  std::unique_ptr<X11Hotkeys> hotkeys_;
  std::unique_ptr<X11Clipboard> clipboard_;
  std::unique_ptr<X11Clipboard> primary_;
};

}  // namespace tolvan::x11
