#include "presenters/main_thread_calls.h"

#include "core/main_loop.h"

namespace tolvan {

MainThreadCalls::MainThreadCalls(Post post)
    : post_(post ? std::move(post) : Post(post_to_main_loop)),
      main_(std::this_thread::get_id()) {}

void MainThreadCalls::run_or_post(std::function<void()> work) const {
  if (on_main_thread()) {
    work();
  } else {
    post_(std::move(work));
  }
}

}  // namespace tolvan
