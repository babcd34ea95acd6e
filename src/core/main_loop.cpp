#include "core/main_loop.h"

#include <glib.h>

namespace tolvan {

void post_to_main_loop(std::function<void()> work) {
  using Work = std::function<void()>;
  // An idle source rather than g_main_context_invoke: invoke would run the work right
  // here when no thread owns the context yet.
  GSource* source = g_idle_source_new();
  g_source_set_callback(
      source,
      [](gpointer data) -> gboolean {
        (*static_cast<Work*>(data))();
        return G_SOURCE_REMOVE;
      },
      new Work(std::move(work)), [](gpointer data) { delete static_cast<Work*>(data); });
  g_source_attach(source, nullptr);
  g_source_unref(source);
}

}  // namespace tolvan
