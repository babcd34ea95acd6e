// MainThreadCalls: work that must run on the main thread (every window and message box),
// asked for from any thread. On the main thread the work runs at once; from another thread
// it is posted to the main loop and the caller waits until the main thread has run it, so
// a worker can ask the user a question and go on with the answer. Waiting on the main
// thread for its own loop could never end, which is why the main thread never posts here.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>

namespace tolvan {

class MainThreadCalls {
 public:
  // Hands work to the main loop; it runs there later, never during this call.
  using Post = std::function<void(std::function<void()>)>;

  // The constructing thread is the main thread. Without `post`, work goes to GLib's
  // default main context (post_to_main_loop).
  explicit MainThreadCalls(Post post = {});

  bool on_main_thread() const { return std::this_thread::get_id() == main_; }

  // Runs `work` on the main thread and returns its result. The main loop must be running
  // (or run later) for a call from another thread to return.
  template <class Work>
  std::invoke_result_t<Work&> call(Work&& work) const {
    using T = std::invoke_result_t<Work&>;
    if (on_main_thread()) return work();
    std::mutex mutex;
    std::condition_variable done_changed;
    bool done = false;
    std::conditional_t<std::is_void_v<T>, bool, std::optional<T>> result{};
    post_([&] {
      if constexpr (std::is_void_v<T>) {
        work();
      } else {
        result.emplace(work());
      }
      std::lock_guard lock(mutex);
      done = true;
      done_changed.notify_one();
    });
    std::unique_lock lock(mutex);
    done_changed.wait(lock, [&] { return done; });
    if constexpr (!std::is_void_v<T>) return std::move(*result);
  }

  // Runs `work` on the main thread without waiting for it: at once on the main thread,
  // else posted.
  void run_or_post(std::function<void()> work) const;

 private:
  Post post_;
  std::thread::id main_;
};

}  // namespace tolvan
