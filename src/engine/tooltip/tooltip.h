// Tooltip: the preview balloon below the text caret while an abbreviation waits for its
// trigger key or word-ending character: its scheduling (shown after 20 ms, hidden after
// about 3 s, outdated callbacks doing nothing), where it goes and what it says. The window
// itself is a TooltipView the user interface provides; timers run on the main loop.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "engine/output/output_thread.h"
#include "library/model.h"
#include "platform/windows.h"

namespace tolvan {

class TooltipView {
 public:
  virtual ~TooltipView() = default;
  // A balloon with its tip at (x, y) on the screen, text at most 500 pixels wide.
  virtual void show(int x, int y, const std::string& text) = 0;
  virtual void hide() = 0;
};

// One-shot timers of the main loop: the callback runs once, on the main thread, where the
// tooltip's window lives.
class MainLoopTimers {
 public:
  virtual ~MainLoopTimers() = default;
  virtual void after(uint32_t ms, std::function<void()> callback) = 0;
};

inline constexpr uint32_t kTooltipShowDelayMs = 20;
inline constexpr uint32_t kTooltipHideDelayMs = 3020;

class Tooltip {
 public:
  // Everything given outlives the tooltip, and the tooltip outlives its timers.
  Tooltip(TooltipView& view, MainLoopTimers& timers, Windows& windows, MacroEnvironment env);

  // The preferences the preview reads (dont_tooltip_invalid_cursor, and the output
  // thread's for building the text).
  void set_prefs(Settings& prefs);
  // Hook thread: the abbreviation `typed` by the user waits; the preview is scheduled.
  void schedule(const Abbreviation& abbreviation, std::string typed);
  // From any thread: the user typed on, so the preview is out of date.
  void hide();
  // At exit: nothing is shown any more, pending callbacks do nothing.
  void destroy();
  bool visible() const;

  // The preview text of a waiting abbreviation: what would be typed, or what a launcher
  // launches; nullopt for a launcher without a target.
  static std::optional<std::string> preview_text(const Abbreviation& abbreviation,
                                                 std::string_view typed,
                                                 const OutputPrefs& prefs,
                                                 const MacroEnvironment& env);

 private:
  // The timers' callbacks; `id` tells whether they still belong to the newest schedule.
  void show_due(uint64_t id);
  void hide_due(uint64_t id);
  void hide_locked();

  TooltipView& view_;
  MainLoopTimers& timers_;
  Windows& windows_;
  MacroEnvironment env_;

  mutable std::mutex mutex_;
  OutputPrefs prefs_;
  bool skip_unreported_caret_ = false;
  bool destroyed_ = false;
  bool visible_ = false;
  uint64_t timer_id_ = 0;  // the newest pair is timer_id_ - 2 (show) and timer_id_ - 1 (hide)
  std::unique_ptr<Abbreviation> abbreviation_;  // a copy: the library may change meanwhile
  std::string typed_;
  std::string text_;  // what is shown, kept for a launcher without a target
};

}  // namespace tolvan
