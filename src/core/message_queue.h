// MessageQueue: a thread's ordered, blocking queue of requests (the thread message queue).
// Any thread posts; the owning thread takes them one at a time, in the order posted.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace tolvan {

template <class Message>
class MessageQueue {
 public:
  void post(Message message) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      queue_.push_back(std::move(message));
    }
    ready_.notify_one();
  }

  // Blocks until a message is there.
  Message take() {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [this] { return !queue_.empty(); });
    return pop_front();
  }

  // The next message, or nullopt once `timeout` has passed without one.
  template <class Rep, class Period>
  std::optional<Message> take_for(std::chrono::duration<Rep, Period> timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!ready_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) return std::nullopt;
    return pop_front();
  }

  // The next message if one is waiting.
  std::optional<Message> try_take() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.empty()) return std::nullopt;
    return pop_front();
  }

  bool empty() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.empty();
  }

 private:
  Message pop_front() {
    Message m = std::move(queue_.front());
    queue_.pop_front();
    return m;
  }

  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Message> queue_;
};

}  // namespace tolvan
