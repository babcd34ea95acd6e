#include "app/glib_timers.h"

#include <glib.h>

namespace tolvan {

struct GLibTimers::Pending {
  std::shared_ptr<Shared> shared;
  std::function<void()> callback;
  unsigned id = 0;
};

GLibTimers::GLibTimers() : shared_(std::make_shared<Shared>()) {}

GLibTimers::~GLibTimers() {
  std::lock_guard lock(shared_->mutex);
  shared_->closed = true;
  GMainContext* context = g_main_context_default();
  for (unsigned id : shared_->sources) {
    if (GSource* source = g_main_context_find_source_by_id(context, id)) g_source_destroy(source);
  }
  shared_->sources.clear();
}

void GLibTimers::after(uint32_t ms, std::function<void()> callback) {
  auto* pending = new Pending{shared_, std::move(callback), 0};
  GSource* source = g_timeout_source_new(ms);
  g_source_set_callback(
      source,
      [](gpointer data) -> gboolean {
        auto* p = static_cast<Pending*>(data);
        {
          std::lock_guard lock(p->shared->mutex);
          if (p->shared->closed) return G_SOURCE_REMOVE;
          p->shared->sources.erase(p->id);
        }
        p->callback();
        return G_SOURCE_REMOVE;
      },
      pending, [](gpointer data) { delete static_cast<Pending*>(data); });
  std::lock_guard lock(shared_->mutex);
  if (shared_->closed) {
    g_source_unref(source);
    return;
  }
  // Attached under the lock: the callback cannot run before its id is recorded.
  pending->id = g_source_attach(source, nullptr);
  shared_->sources.insert(pending->id);
  g_source_unref(source);
}

}  // namespace tolvan
