// X11Hook and X11Input together on a real server: what the hook reports for keys typed by
// another program (xdotool) and for keys Tolvan sends itself, and a grabbed key.
#include "platform/x11/x11_hook.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/vk_codes.h"
#include "platform/x11/x11_input.h"
#include "x11_test_support.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#undef Status

#include "ping_window.h"

namespace tolvan::x11 {
namespace {

class Recorder {
 public:
  HookAnswer operator()(const KeyEvent& e) {
    std::lock_guard held(mutex_);
    events_.push_back(e);
    changed_.notify_all();
    return HookAnswer::Pass;
  }
  // Waits until `count` events came (or a few seconds passed) and gives them.
  std::vector<KeyEvent> wait_for(size_t count) {
    std::unique_lock held(mutex_);
    changed_.wait_for(held, std::chrono::seconds(5), [&] { return events_.size() >= count; });
    return events_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<KeyEvent> events_;
};

class X11HookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_display()) GTEST_SKIP() << "no X display";
    ASSERT_EQ(std::system("setxkbmap us"), 0);
    keyboard_ = std::make_unique<X11Keyboard>();
    hook_ = std::make_unique<X11Hook>(*keyboard_, ledger_, clock_);
    ASSERT_TRUE(hook_->ok()) << hook_->why();
    ASSERT_TRUE(hook_->install_keyboard([this](const KeyEvent& e) { return recorder_(e); }).ok());
  }
  // The recorder outlives the hook, whose thread calls it until the hook is gone.
  Recorder recorder_;
  SteadyClock clock_;
  InjectionLedger ledger_;
  std::unique_ptr<X11Keyboard> keyboard_;
  std::unique_ptr<X11Hook> hook_;
};

// The events of one key, in order (xdotool may add releases of its own around them).
std::vector<KeyEvent> of_key(const std::vector<KeyEvent>& events, uint16_t key) {
  std::vector<KeyEvent> out;
  for (const KeyEvent& e : events)
    if (e.vk == key) out.push_back(e);
  return out;
}

TEST_F(X11HookTest, AnotherProgramsKeysAreTypedKeysWithWindowsCodes) {
  EXPECT_FALSE(hook_->can_swallow());
  ASSERT_EQ(std::system("xdotool key shift+a"), 0);
  auto events = recorder_.wait_for(4);
  ASSERT_GE(events.size(), 4u);
  EXPECT_EQ(events[0].vk, vk::LShift);
  EXPECT_EQ(events[0].scan, 0x2A);
  EXPECT_TRUE(events[0].down());
  auto a = of_key(events, 'A');
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[0].scan, 0x1E);
  EXPECT_EQ(a[0].message, KeyMessage::KeyDown);
  EXPECT_EQ(a[1].message, KeyMessage::KeyUp);
  for (const KeyEvent& e : events) EXPECT_FALSE(e.injected);
}

TEST_F(X11HookTest, AltWithoutCtrlMakesSystemMessages) {
  ASSERT_EQ(std::system("xdotool key alt+x"), 0);
  ASSERT_EQ(std::system("xdotool key ctrl+alt+x"), 0);
  auto events = recorder_.wait_for(10);
  ASSERT_GE(events.size(), 10u);
  EXPECT_EQ(events[0].vk, vk::LMenu);
  EXPECT_EQ(events[0].message, KeyMessage::SysKeyDown);
  auto x = of_key(events, 'X');
  ASSERT_EQ(x.size(), 4u);
  // (xdotool lets Alt go before the key, so the key's release is an ordinary one.)
  EXPECT_EQ(x[0].message, KeyMessage::SysKeyDown);
  // With Ctrl held as well, it is ordinary.
  EXPECT_EQ(x[2].message, KeyMessage::KeyDown);
}

TEST_F(X11HookTest, TolvansOwnInputComesBackInjectedWithWhatWasSent) {
  X11Input input(*keyboard_, ledger_);
  ASSERT_TRUE(input.ok());
  input.send_key(vk::Control, 0x1D, kKeyExtended);  // the right Ctrl, as Windows resolves it
  input.send_key(vk::Control, 0x1D, kKeyExtended | kKeyUp);
  input.send_unicode(u'ß', false);
  input.send_unicode(u'ß', true);
  auto events = recorder_.wait_for(4);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].vk, vk::RControl);
  EXPECT_TRUE(events[0].extended);
  EXPECT_EQ(events[2].vk, vk::Packet);
  EXPECT_EQ(events[2].scan, u'ß');
  for (const KeyEvent& e : events) EXPECT_TRUE(e.injected);
  ASSERT_EQ(std::system("xdotool key b"), 0);
  events = recorder_.wait_for(6);
  ASSERT_EQ(events.size(), 6u);
  EXPECT_FALSE(events[4].injected) << "XTest input of other programs is not Tolvan's";
}

TEST_F(X11HookTest, AGrabbedKeyStillReachesTheCallback) {
  ASSERT_TRUE(hook_->grab_key(vk::Tab).ok());
  ASSERT_EQ(std::system("xdotool key Tab"), 0);
  auto events = recorder_.wait_for(2);
  hook_->ungrab_key(vk::Tab);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].vk, vk::Tab);
  EXPECT_TRUE(events[0].down());
  EXPECT_TRUE(events[1].up());
}

TEST_F(X11HookTest, AHeldKeyRepeatsItsPress) {
  ASSERT_EQ(std::system("xdotool keydown x; sleep 1; xdotool keyup x"), 0);
  auto events = recorder_.wait_for(3);
  auto x = of_key(events, 'X');
  ASSERT_GE(x.size(), 3u);
  EXPECT_TRUE(x[0].down());
  EXPECT_TRUE(x[1].down()) << "a repeat is one more press, as Windows reports it";
  EXPECT_TRUE(x.back().up());
  size_t ups = 0;
  for (const KeyEvent& e : x) ups += e.up();
  EXPECT_EQ(ups, 1u);
}

// The raw key events of the server as another client sees them: press or release, key code and
// the server's time.
struct RawKey {
  bool press;
  int keycode;
  Time time;
};

std::vector<RawKey> raw_keys_of(const std::function<void()>& act, size_t count) {
  std::vector<RawKey> seen;
  Display* d = XOpenDisplay(nullptr);
  if (!d) return seen;
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(bits, XI_RawKeyPress);
  XISetMask(bits, XI_RawKeyRelease);
  XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
  XISelectEvents(d, DefaultRootWindow(d), &mask, 1);
  XSync(d, False);
  int opcode = 0, event = 0, error = 0;
  XQueryExtension(d, "XInputExtension", &opcode, &event, &error);
  act();
  while (seen.size() < count && eventually([&] { return XPending(d) > 0; })) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.xcookie.type != GenericEvent || e.xcookie.extension != opcode || !XGetEventData(d, &e.xcookie)) continue;
    const auto* raw = static_cast<XIRawEvent*>(e.xcookie.data);
    seen.push_back({raw->evtype == XI_RawKeyPress, raw->detail, raw->time});
    XFreeEventData(d, &e.xcookie);
  }
  XCloseDisplay(d);
  return seen;
}

// Paced keys: LibreOffice takes a release and a press of the same key with the same server time
// for auto-repeat, so a doubled letter's second press comes later than the first one's release;
// and it sets typed characters aside while more keys wait, so a Backspace or a Return among
// characters comes after a moment.
TEST_F(X11HookTest, PacedKeysGiveTheApplicationTimeWhereItNeedsIt) {
  X11Input input(*keyboard_, ledger_);
  ASSERT_TRUE(input.ok());
  auto taps = [&](uint16_t key, uint16_t scan) {
    for (int i = 0; i < 3; ++i) {
      input.send_key(key, scan, 0);
      input.send_key(key, scan, kKeyUp);
    }
  };
  input.pace_keys(true, 0);
  const std::vector<RawKey> letters = raw_keys_of([&] { taps('L', 0x26); }, 6);
  ASSERT_EQ(letters.size(), 6u);
  for (size_t i = 1; i + 1 < letters.size(); i += 2) {
    ASSERT_FALSE(letters[i].press);
    ASSERT_TRUE(letters[i + 1].press);
    EXPECT_GT(letters[i + 1].time, letters[i].time) << "press " << (i + 3) / 2;
  }
  const std::vector<RawKey> mixed = raw_keys_of(
      [&] {
        for (uint16_t key : {uint16_t{'A'}, vk::Return, uint16_t{'B'}}) {
          input.send_key(key, 0, 0);
          input.send_key(key, 0, kKeyUp);
        }
      },
      6);
  ASSERT_EQ(mixed.size(), 6u);
  EXPECT_GE(mixed[2].time - mixed[1].time, 20u) << "Return after a character";
  EXPECT_GE(mixed[4].time - mixed[3].time, 20u) << "a character after Return";
  input.pace_keys(false, 0);
  const std::vector<RawKey> unpaced = raw_keys_of([&] { taps('L', 0x26); }, 6);
  ASSERT_EQ(unpaced.size(), 6u);
  EXPECT_LT(unpaced.back().time - unpaced.front().time, 20u) << "at full speed once pacing is off";
}

// An application that answers pings late is busy: the settle between kinds of keys grows
// with its delay, where a fixed one let LibreOffice on a loaded machine take the Backspaces
// after the text that followed them.
TEST_F(X11HookTest, ABusyApplicationGetsLongerToSettle) {
  X11Input input(*keyboard_, ledger_);
  ASSERT_TRUE(input.ok());
  constexpr auto kDelay = std::chrono::milliseconds(60);
  PingWindow busy(PingWindow::Plays::Answering, kDelay);
  input.pace_keys(true, busy.id());
  const std::vector<RawKey> mixed = raw_keys_of(
      [&] {
        for (uint16_t key : {uint16_t{'A'}, vk::Return}) {
          input.send_key(key, 0, 0);
          input.send_key(key, 0, kKeyUp);
        }
      },
      4);
  input.pace_keys(false, 0);
  ASSERT_EQ(mixed.size(), 4u);
  // The ping's own wait, the settle, and twice the ping's time again.
  EXPECT_GE(mixed[2].time - mixed[1].time, 20u + 3 * kDelay.count()) << "Return after a character";
  EXPECT_EQ(busy.pings_seen(), 1) << "one ping for one change of kind";
}

// Characters with no key are bound to spare keys before the text starts, so that applications
// read one changed keymap instead of one change per character.
TEST_F(X11HookTest, CharactersWithoutAKeyAreBoundBeforeTheTextStarts) {
  X11Input input(*keyboard_, ledger_);
  ASSERT_TRUE(input.ok());
  const std::u32string characters = U"\u65E5\u672C\u8A9E\U0001F600";
  input.prepare_characters(characters);
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  std::vector<int> bound;
  for (char32_t c : characters) bound.push_back(XKeysymToKeycode(d, 0x01000000 + c));
  XCloseDisplay(d);
  for (size_t i = 0; i < bound.size(); ++i) EXPECT_NE(bound[i], 0) << "character " << i << " has a key already";

  const std::vector<RawKey> typed = raw_keys_of(
      [&] {
        for (char16_t unit : std::u16string(u"\u65E5\u672C\u8A9E\U0001F600")) {
          input.send_unicode(unit, false);
          input.send_unicode(unit, true);
        }
      },
      8);
  ASSERT_EQ(typed.size(), 8u);
  for (size_t i = 0; i < bound.size(); ++i) EXPECT_EQ(typed[2 * i].keycode, bound[i]) << "typed on its key";
}

}  // namespace
}  // namespace tolvan::x11
