// Work for the main thread asked for from elsewhere: it runs on the main thread, the asker
// gets its result, and the main thread asking itself runs the work at once.
#include <gtest/gtest.h>

#include <glib.h>

#include <atomic>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "presenters/main_thread_calls.h"

namespace tolvan {
namespace {

TEST(MainThreadCalls, TheMainThreadRunsItsOwnWorkAtOnceWithoutPosting) {
  int posted = 0;
  MainThreadCalls calls([&](std::function<void()>) { ++posted; });
  EXPECT_TRUE(calls.on_main_thread());
  EXPECT_EQ(calls.call([] { return 42; }), 42);
  int ran = 0;
  calls.call([&] { ++ran; });
  calls.run_or_post([&] { ++ran; });
  EXPECT_EQ(ran, 2);
  EXPECT_EQ(posted, 0);
}

TEST(MainThreadCalls, AWorkerWaitsForTheMainThreadToRunItsWork) {
  std::mutex mutex;
  std::deque<std::function<void()>> queue;
  MainThreadCalls calls([&](std::function<void()> work) {
    std::lock_guard lock(mutex);
    queue.push_back(std::move(work));
  });
  const auto main_id = std::this_thread::get_id();
  std::atomic<bool> answered = false;
  std::string answer;
  std::thread worker([&] {
    EXPECT_FALSE(calls.on_main_thread());
    answer = calls.call([&] {
      EXPECT_EQ(std::this_thread::get_id(), main_id);
      return std::string("Yes");
    });
    answered = true;
  });
  // The worker can only be answered by the main thread running its queue.
  std::function<void()> work;
  while (!work) {
    std::this_thread::yield();
    std::lock_guard lock(mutex);
    if (!queue.empty()) {
      work = std::move(queue.front());
      queue.pop_front();
    }
  }
  EXPECT_FALSE(answered);
  work();
  worker.join();
  EXPECT_TRUE(answered);
  EXPECT_EQ(answer, "Yes");
}

TEST(MainThreadCalls, ThroughGLibsMainLoopAWorkersCallsRunInOrderOnTheLoopsThread) {
  GMainLoop* loop = g_main_loop_new(nullptr, false);
  MainThreadCalls calls;
  const auto main_id = std::this_thread::get_id();
  std::vector<int> order;
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) {
      int got = calls.call([&, i] {
        EXPECT_EQ(std::this_thread::get_id(), main_id);
        order.push_back(i);
        return i * 10;
      });
      EXPECT_EQ(got, i * 10);
    }
    calls.run_or_post([&] {
      order.push_back(99);
      g_main_loop_quit(loop);
    });
  });
  g_main_loop_run(loop);
  worker.join();
  g_main_loop_unref(loop);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 99}));
}

}  // namespace
}  // namespace tolvan
