// The X backend's bookkeeping that needs no display: which of XTest's events are
// Tolvan's own, the spare keys that type characters, grab masks, compose locales.
#include <gtest/gtest.h>

#include "platform/hotkeys.h"
#include "platform/vk_codes.h"
#include "platform/x11/x11_grab_masks.h"
#include "platform/x11/x11_hotkeys.h"
#include "platform/x11/x11_injections.h"
#include "platform/x11/x11_input.h"
#include "platform/x11/x11_keyboard.h"

namespace tolvan::x11 {
namespace {

// X's modifier bits, spelled out so the test does not lean on the headers it checks.
constexpr unsigned kShift = 1, kLock = 2, kControl = 4, kMod1 = 8, kMod2 = 16, kMod4 = 64;

TEST(InjectionLedger, TellsTolvansEventsFromOtherXTestInput) {
  InjectionLedger ledger;
  ledger.sent({38, true, 'A', 0x1E, false});
  ledger.sent({38, false, 'A', 0x1E, false});
  ledger.sent({250, true, vk::Packet, u'é', false});
  // Another program's press of a key Tolvan did not send is not Tolvan's.
  EXPECT_FALSE(ledger.take(39, true));
  auto packet = ledger.take(250, true);
  ASSERT_TRUE(packet);
  EXPECT_EQ(packet->vk, vk::Packet);
  EXPECT_EQ(packet->scan, u'é');
  auto down = ledger.take(38, true);
  ASSERT_TRUE(down);
  EXPECT_EQ(down->vk, 'A');
  EXPECT_FALSE(ledger.take(38, true)) << "each sent event is claimed once";
  EXPECT_TRUE(ledger.take(38, false));
}

TEST(InjectionLedger, StaysBoundedWhenEventsNeverComeBack) {
  InjectionLedger ledger;
  for (int i = 0; i < 10000; ++i) ledger.sent({10, true, 'Q', 0x10, false});
  ledger.sent({11, true, 'W', 0x11, false});
  int taken = 0;
  while (ledger.take(10, true)) ++taken;
  EXPECT_LT(taken, 10000);
  EXPECT_TRUE(ledger.take(11, true)) << "the newest survive";
}

TEST(SpareKeys, ReuseABindingAndRebindTheLeastRecentlyUsed) {
  SpareKeys spares({250, 251});
  const auto t0 = SpareKeys::Clock::time_point{} + std::chrono::hours(1);
  auto e = spares.pick(0xE9, t0);
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->rebind);
  auto again = spares.pick(0xE9, t0);
  EXPECT_EQ(again->keycode, e->keycode);
  EXPECT_FALSE(again->rebind) << "a character still bound needs no new mapping";
  auto ss = spares.pick(0xDF, t0);
  EXPECT_NE(ss->keycode, e->keycode);
  auto third = spares.pick(0x1F600, t0 + std::chrono::seconds(1));
  EXPECT_TRUE(third->rebind);
  EXPECT_EQ(third->keycode, e->keycode) << "the oldest binding goes first";
  EXPECT_TRUE(spares.pick(0xE9, t0 + std::chrono::seconds(1))->rebind) << "é lost its key";
  EXPECT_FALSE(SpareKeys({}).pick(0xE9, t0));
}

TEST(SpareKeys, AKeyIsBoundAnewOnlyOnceApplicationsHadTimeToReadItsLastUse) {
  SpareKeys spares({250, 251});
  const auto t0 = SpareKeys::Clock::time_point{} + std::chrono::hours(1);
  const auto ms = [](int n) { return std::chrono::milliseconds(n); };
  EXPECT_EQ(spares.pick('a', t0)->not_before, t0) << "a key never used is free";
  EXPECT_EQ(spares.pick('b', t0 + ms(5))->not_before, t0 + ms(5));
  spares.pick('a', t0 + ms(10));  // typed again: its key was last used now
  auto c = spares.pick('c', t0 + ms(20));
  EXPECT_EQ(c->keycode, 250);
  EXPECT_EQ(c->not_before, t0 + ms(10) + SpareKeys::kReuseGap);
  auto d = spares.pick('d', t0 + ms(20));
  EXPECT_EQ(d->keycode, 251);
  EXPECT_EQ(d->not_before, t0 + ms(5) + SpareKeys::kReuseGap);
  auto e = spares.pick('e', t0 + SpareKeys::kReuseGap * 4);
  EXPECT_EQ(e->not_before, t0 + SpareKeys::kReuseGap * 4) << "long unused: no wait";
}

TEST(GrabMasks, EveryLockCombinationIsGrabbed) {
  auto variants = lock_variants(kControl | kMod1, kMod2);
  EXPECT_EQ(variants[0], kControl | kMod1);
  EXPECT_EQ(variants[1], kControl | kMod1 | kLock);
  EXPECT_EQ(variants[2], kControl | kMod1 | kMod2);
  EXPECT_EQ(variants[3], kControl | kMod1 | kLock | kMod2);
}

TEST(GrabMasks, HotkeyModifiersBecomeXModifiers) {
  EXPECT_EQ(x_modifiers_of(kModControl | kModAlt), kControl | kMod1);
  EXPECT_EQ(x_modifiers_of(kModShift | kModWin), kShift | kMod4);
  EXPECT_EQ(x_modifiers_of(0), 0u);
}

TEST(ComposeLocales, TheUsersLocaleFirstThenFallbacks) {
  auto l = compose_locales("de_DE.UTF-8", "fr_FR.UTF-8", "sv_SE.UTF-8");
  EXPECT_EQ(l[0], "de_DE.UTF-8");
  EXPECT_EQ(compose_locales("", "fr_FR.UTF-8", nullptr)[0], "fr_FR.UTF-8");
  EXPECT_EQ(compose_locales(nullptr, nullptr, "sv_SE.UTF-8")[0], "sv_SE.UTF-8");
  auto none = compose_locales(nullptr, nullptr, nullptr);
  EXPECT_EQ(none[0], "C");
  EXPECT_EQ(none[1], "en_US.UTF-8");
  EXPECT_EQ(l[2], "C");
}

}  // namespace
}  // namespace tolvan::x11
