#include "ui/glib_main_loop_timers.h"

namespace tolvan::ui {

struct GlibMainLoopTimers::Timer {
  GlibMainLoopTimers* owner;
  std::function<void()> callback;
  guint id = 0;
};

GlibMainLoopTimers::~GlibMainLoopTimers() {
  std::lock_guard lock(mutex_);
  for (guint id : pending_) {
    if (GSource* source = g_main_context_find_source_by_id(nullptr, id)) g_source_destroy(source);
  }
}

void GlibMainLoopTimers::after(uint32_t ms, std::function<void()> callback) {
  auto* timer = new Timer{this, std::move(callback)};
  GSource* source = g_timeout_source_new(ms);
  g_source_set_callback(source, &GlibMainLoopTimers::fire, timer,
                        [](gpointer data) { delete static_cast<Timer*>(data); });
  // Held while attaching: a timer firing at once waits until its id is recorded.
  std::lock_guard lock(mutex_);
  timer->id = g_source_attach(source, nullptr);
  pending_.insert(timer->id);
  g_source_unref(source);
}

gboolean GlibMainLoopTimers::fire(gpointer data) {
  auto* timer = static_cast<Timer*>(data);
  {
    std::lock_guard lock(timer->owner->mutex_);
    timer->owner->pending_.erase(timer->id);
  }
  timer->callback();
  return G_SOURCE_REMOVE;
}

size_t GlibMainLoopTimers::pending() const {
  std::lock_guard lock(mutex_);
  return pending_.size();
}

}  // namespace tolvan::ui
