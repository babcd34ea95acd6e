// ApplicationPing on a real server: an application that answers, one that does not list the
// ping, and one that lists it and hangs.
#include "platform/x11/application_ping.h"

#include <gtest/gtest.h>

#include "ping_window.h"
#include "x11_test_support.h"

namespace tolvan::x11 {
namespace {

using namespace std::chrono_literals;

class ApplicationPingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_display()) GTEST_SKIP() << "no X display";
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr);
  }
  void TearDown() override {
    if (display_) XCloseDisplay(display_);
  }
  Display* display_ = nullptr;
};

TEST_F(ApplicationPingTest, TheAnswerComesOnceTheApplicationGotToIt) {
  PingWindow quick(PingWindow::Plays::Answering);
  PingWindow busy(PingWindow::Plays::Answering, 80ms);
  ApplicationPing ping(display_);
  EXPECT_EQ(ping.ping(quick.id(), 2000ms), PingAnswer::Answered);
  const auto asked = std::chrono::steady_clock::now();
  EXPECT_EQ(ping.ping(busy.id(), 2000ms), PingAnswer::Answered);
  EXPECT_GE(std::chrono::steady_clock::now() - asked, 80ms) << "an answer taken for another's";
  // Asked again, each answer is told from the one before.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ping.ping(quick.id(), 2000ms), PingAnswer::Answered);
  EXPECT_EQ(quick.pings_seen(), 4);
}

TEST_F(ApplicationPingTest, AWindowThatCannotAnswerIsNotAsked) {
  PingWindow window(PingWindow::Plays::NotListingPings);
  ApplicationPing ping(display_);
  EXPECT_EQ(ping.ping(window.id(), 2000ms), PingAnswer::NotSupported);
  EXPECT_EQ(ping.ping(0, 2000ms), PingAnswer::NotSupported);
  // A window that is gone: an X error the ping survives.
  EXPECT_EQ(ping.ping(0x7ffffff0, 2000ms), PingAnswer::NotSupported);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(window.pings_seen(), 0);
}

TEST_F(ApplicationPingTest, AHangingApplicationCostsTheBoundAndNoMore) {
  PingWindow hanging(PingWindow::Plays::Hanging);
  ApplicationPing ping(display_);
  const auto asked = std::chrono::steady_clock::now();
  EXPECT_EQ(ping.ping(hanging.id(), 150ms), PingAnswer::NoAnswer);
  const auto waited = std::chrono::steady_clock::now() - asked;
  EXPECT_GE(waited, 150ms);
  EXPECT_LT(waited, 2s);
  EXPECT_TRUE(eventually([&] { return hanging.pings_seen() == 1; }));
  // The connection is left as it was: a later answer is still told apart.
  PingWindow quick(PingWindow::Plays::Answering);
  EXPECT_EQ(ping.ping(quick.id(), 2000ms), PingAnswer::Answered);
}

}  // namespace
}  // namespace tolvan::x11
