// Launcher: what a program or website launcher does when it fires.
//
// A program launcher names a folder (opened in the file manager), an application file
// (.desktop, launched with the parameters as the files it opens), an executable program
// (started with the parameters split into words, through pkexec when it runs as
// administrator and pkexec is installed), a bare program name (found on PATH), an address
// with a scheme, or a document (opened with its default application). The program runs in
// the run-in folder, or, when that is empty, in the folder of its path.
// A website launcher opens its address in the chosen browser when that is still installed
// (and, in portable mode, present on this computer), otherwise with the default browser.
// Parameters and addresses have their date/time and clipboard macros run first.
//
// The show mode (normal, minimised, maximised) cannot be passed to a program on X11: there
// is no start-up request for it, so programs open as they choose.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "core/result.h"
#include "engine/macros/macro_environment.h"
#include "engine/output/launch_handler.h"
#include "library/model.h"
#include "platform/shell.h"

namespace tolvan {

// The date/time insertion macros and then the clipboard macro; nothing else.
std::string launcher_insertion_macros_execute(std::string_view text, const MacroEnvironment& env);

// Opens a path or address with its default application; false when that failed.
bool open_location(Shell& shell, const std::string& location);

// The launch pad: a window that hides before a launcher typed into it starts. Both are
// asked on the output thread.
class LaunchPadWindow {
 public:
  virtual ~LaunchPadWindow() = default;
  // 0 while there is no such window.
  virtual WindowId launch_pad_window() const = 0;
  // Hides it soon, from any thread.
  virtual void hide_launch_pad_soon() = 0;
};

class Launcher final : public LaunchHandler {
 public:
  using Reporter = std::function<void(const std::string& message)>;
  // `report` hears why a launch failed; everything given outlives the launcher.
  Launcher(Shell& shell, MacroEnvironment env, bool portable_mode, Reporter report);

  // LaunchHandler: a program or website launcher; other abbreviations do nothing. Typed
  // into the launch pad, the launch pad hides first.
  void launch(const Abbreviation& abbreviation, WindowId window) override;
  // The launch pad, or null; it outlives its use here.
  void set_launch_pad(LaunchPadWindow* pad) { launch_pad_.store(pad); }

  Status launch_program(const ProgInfo& program);
  Status launch_website(const WebsiteInfo& website);

 private:
  Shell& shell_;
  MacroEnvironment env_;
  bool portable_mode_;
  Reporter report_;
  std::atomic<LaunchPadWindow*> launch_pad_{nullptr};
};

}  // namespace tolvan
