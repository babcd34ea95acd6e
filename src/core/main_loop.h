// The program's main loop is GLib's default main context (GTK's, or the one `tolvan-cli
// run` turns). Other threads hand work to it with post_to_main_loop.
#pragma once

#include <functional>

namespace tolvan {

// Runs `work` once on the thread that turns the default main context, later, never during
// this call (also when the caller is that thread).
void post_to_main_loop(std::function<void()> work);

}  // namespace tolvan
