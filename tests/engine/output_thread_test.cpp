// The output thread itself: records posted to it are replaced in order, waiting for it,
// an interactive input seen from outside, and stopping it.
#include "output_test_support.h"

namespace tolvan::testing {
namespace {

TEST(KeysimThread, ReplacesPostedRecordsInOrder) {
  KeysimScene s;
  EXPECT_FALSE(s.keysim.busy());
  ASSERT_TRUE(s.keysim.create_thread());
  EXPECT_TRUE(s.keysim.create_thread());  // already running
  s.keysim.replace_typed_abbreviation(nullptr);
  s.keysim.replace_typed_abbreviation(s.typed("btw", "by the way"));
  s.keysim.wait();
  EXPECT_FALSE(s.keysim.busy());
  ASSERT_TRUE(s.user.type(" ").ok());
  s.keysim.replace_typed_abbreviation(s.typed("afaik", "as far as I know"));
  s.keysim.wait();
  s.desktop.wait_input_idle();
  EXPECT_EQ(s.text(), "by the way as far as I know|");
  s.keysim.destroy_thread();
  s.keysim.destroy_thread();  // harmless twice
}

TEST(KeysimThread, AnInputThatWaitsForTheUserIsNotBusy) {
  KeysimScene s;
  ASSERT_TRUE(s.keysim.create_thread());
  s.keysim.replace_typed_abbreviation(s.typed("dr", "Dear %(Input name),"));
  s.keysim.wait(OutputThread::Until::kIdleOrWaitingForUser);
  EXPECT_TRUE(s.keysim.waiting_for_user());
  EXPECT_FALSE(s.keysim.busy());
  EXPECT_TRUE(s.ii.mode_enabled());
  ASSERT_TRUE(s.user.type("Eve").ok());
  s.user.tap(vk::Tab);
  s.keysim.wait();
  s.desktop.wait_input_idle();
  EXPECT_FALSE(s.keysim.waiting_for_user());
  EXPECT_EQ(s.text(), "Dear Eve,|");
  // The keyboard preparation after the input ran too: the start's Ctrl tap and this one.
  EXPECT_EQ(s.count_injected("inject down LControl"), 2);
}

TEST(KeysimThread, StoppingAbandonsAWaitingInput) {
  KeysimScene s;
  ASSERT_TRUE(s.keysim.create_thread());
  s.keysim.replace_typed_abbreviation(s.typed("dr", "Dear %(Input name), bye"));
  s.keysim.wait(OutputThread::Until::kIdleOrWaitingForUser);
  s.keysim.destroy_thread();
  s.desktop.wait_input_idle();
  EXPECT_EQ(s.selection(), "Dear |name^");
  EXPECT_FALSE(s.ii.mode_enabled());
  EXPECT_EQ(s.hook.posts.back(), MonMessage::EnableHook);
}

TEST(KeysimThread, WaitingWithoutTheThreadReturnsAtOnce) {
  KeysimScene s;
  // An input handled directly leaves its keyboard preparation queued for a thread.
  std::thread user = s.user_when_asked([](sim::User& u) { u.tap(vk::Tab); });
  s.run(*s.typed("dr", "Dear %(Input name),"));
  user.join();
  s.keysim.wait();
  // Tab at once: the selected default is typed over by what follows.
  EXPECT_EQ(s.desktop.text(s.window), "Dear ,");
  // The thread started later serves it.
  ASSERT_TRUE(s.keysim.create_thread());
  s.keysim.wait();
  s.desktop.wait_input_idle();
  EXPECT_EQ(s.count_injected("inject down LControl"), 2);
}

}  // namespace
}  // namespace tolvan::testing
