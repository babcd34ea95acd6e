#include "ui/library_window/progress_work_runner.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "ui/progress_window.h"

namespace tolvan::ui {
namespace {

// What the worker tells the waiting main thread.
struct WorkState {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::string text;
};

}  // namespace

void ProgressWorkRunner::run(const std::string& title, const std::string& text,
                             const std::function<void(const Say& say)>& work) {
  WorkState state;
  state.text = text;
  std::thread worker([&] {
    work([&](const std::string& said) {
      std::lock_guard lock(state.mutex);
      state.text = said;
    });
    std::lock_guard lock(state.mutex);
    state.done = true;
    state.finished.notify_all();
  });

  const auto start = std::chrono::steady_clock::now();
  std::unique_ptr<ProgressWindow> window;
  for (;;) {
    std::unique_lock lock(state.mutex);
    if (state.finished.wait_for(lock, kProgressPollInterval, [&] { return state.done; })) break;
    const std::string shown = state.text;
    lock.unlock();
    if (window) {
      window->bar().set_text(shown);
      window->pulse();
    } else if (std::chrono::steady_clock::now() - start >= kProgressWindowDelay) {
      window = std::make_unique<ProgressWindow>(parent_, title, shown);
      ++windows_shown_;
    }
  }
  worker.join();
}

}  // namespace tolvan::ui
