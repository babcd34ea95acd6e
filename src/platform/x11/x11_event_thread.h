// XEventThread: one X connection and the thread that reads its events. Requests from other
// threads take the connection with lock(); the thread holds the same lock while it handles
// an event, so a handler and a request never overlap.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// Xlib's types, without its macros (Status, None, True) in every includer.
struct _XDisplay;
union _XEvent;

namespace tolvan::x11 {

class XEventThread {
 public:
  using Handler = std::function<void(_XEvent&)>;

  // Opens the display named by DISPLAY; ok() tells whether that worked.
  XEventThread();
  ~XEventThread();
  XEventThread(const XEventThread&) = delete;
  XEventThread& operator=(const XEventThread&) = delete;

  bool ok() const { return display_ != nullptr; }
  _XDisplay* display() const { return display_; }
  std::unique_lock<std::recursive_mutex> lock() { return std::unique_lock(mutex_); }

  // Starts reading; each event goes to the handler on the thread, with the lock held.
  void start(Handler handler);
  void stop();
  // Makes the thread look at the connection again: a request made on another thread may
  // have read events off the socket into Xlib's queue, where waiting on the socket misses
  // them.
  void wake();
  bool on_thread() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  void run();

  _XDisplay* display_ = nullptr;
  std::recursive_mutex mutex_;
  Handler handler_;
  std::thread thread_;
  int wake_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
};

}  // namespace tolvan::x11
