// X11Platform: the real desktop services on the X display named by DISPLAY, owned in one
// place and handed to the engine as a Platform.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/result.h"
#include "platform/clipboard.h"
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

// Stands in for the X CLIPBOARD selection until Tolvan's X11 clipboard is in: the
// clipboard is always busy, so clipboard output and %(clipboard) find nothing.
class UnavailableClipboard final : public Clipboard {
 public:
  bool open() override { return false; }
  void close() override {}
  bool empty() override { return false; }
  std::vector<ClipboardFormat> formats() override { return {}; }
  std::optional<std::string> get(ClipboardFormat) override { return std::nullopt; }
  bool set(ClipboardFormat, std::string) override { return false; }
  std::string format_name(ClipboardFormat) override { return ""; }
  bool set_text(const std::string&) override { return false; }
  std::optional<std::string> text() override { return std::nullopt; }
  std::optional<int> completed_data_requests() override { return std::nullopt; }
};

class X11Platform {
 public:
  // Connects every part to the display; an error says what is missing.
  static Result<std::unique_ptr<X11Platform>> open();
  ~X11Platform();

  Platform platform();

 private:
  X11Platform();

  SteadyClock clock_;
  UnavailableClipboard clipboard_;
  PopSound sound_;
  std::unique_ptr<InjectionLedger> ledger_;
  std::unique_ptr<X11Keyboard> keyboard_;
  std::unique_ptr<X11Hook> hook_;
  std::unique_ptr<X11Input> input_;
  std::unique_ptr<X11Windows> windows_;
  std::unique_ptr<X11Hotkeys> hotkeys_;
};

}  // namespace tolvan::x11
