// GlibMainLoopTimers: the engine's one-shot timers on GLib's default main context, which
// GTK's main loop turns, so their callbacks run on the main thread. They may be armed from
// any thread (the hook thread schedules the preview); callbacks not run yet when the
// timers go are cancelled.
#pragma once

#include <glib.h>

#include <mutex>
#include <set>

#include "engine/tooltip/tooltip.h"

namespace tolvan::ui {

class GlibMainLoopTimers final : public MainLoopTimers {
 public:
  GlibMainLoopTimers() = default;
  ~GlibMainLoopTimers() override;  // main thread
  GlibMainLoopTimers(const GlibMainLoopTimers&) = delete;
  GlibMainLoopTimers& operator=(const GlibMainLoopTimers&) = delete;

  void after(uint32_t ms, std::function<void()> callback) override;

  // How many callbacks wait for their time.
  size_t pending() const;

 private:
  struct Timer;
  static gboolean fire(gpointer data);

  mutable std::mutex mutex_;
  std::set<guint> pending_;  // GLib source ids
};

}  // namespace tolvan::ui
