// HookThread: the hook thread's message loop. Other threads post requests to it; a request
// that needs an answer blocks its sender until the hook thread has served it. The monitor
// does the work.
#pragma once

#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "core/message_queue.h"
#include "engine/hook/monitor.h"

namespace tolvan {

class HookThread {
 public:
  explicit HookThread(Monitor& monitor) : monitor_(monitor) {}
  ~HookThread() { destroy(); }
  HookThread(const HookThread&) = delete;
  HookThread& operator=(const HookThread&) = delete;

  bool create();   // true at once when it runs
  void destroy();  // Quit, with its answer awaited, so that no request is left half served
  bool running() const { return thread_.joinable(); }
  // No request is waiting or being served.
  bool idle() const { return pending_.load() == 0; }

  // Posts and waits for the answer (Monitor::serve's); false when the thread does not run.
  bool request(MonMessage message);
  void post(MonMessage message);
  void post_insert_abbrev(std::unique_ptr<Abbreviation> abbreviation);

 private:
  struct Request {
    MonMessage message = MonMessage::Ping;
    std::shared_ptr<std::promise<bool>> answer;
    std::unique_ptr<Abbreviation> abbreviation;
  };
  void run();
  void enqueue(Request request);

  Monitor& monitor_;
  MessageQueue<Request> queue_;
  std::atomic<int> pending_{0};
  std::thread thread_;
};

}  // namespace tolvan
