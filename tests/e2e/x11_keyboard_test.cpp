// X11Keyboard on a real server's keymaps (US, German, US-International): translation with
// dead keys and AltGr, the keys that type characters, and the lock states the server holds.
// Needs the X display in DISPLAY; skipped without one.
#include "platform/x11/x11_keyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/vk_codes.h"
#include "x11_test_support.h"

namespace tolvan::x11 {
namespace {

class X11KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_display()) GTEST_SKIP() << "no X display";
  }
  void TearDown() override {
    if (!IsSkipped()) layout("us");
  }
  static void layout(const std::string& args) {
    ASSERT_EQ(std::system(("setxkbmap " + args).c_str()), 0);
  }
  // The text of one key press (Shift, AltGr and Caps Lock as asked).
  static std::pair<int, std::u16string> press(X11Keyboard& kb, uint16_t key, bool shift = false,
                                              bool altgr = false, bool caps = false) {
    KeyStateArray s{};
    if (shift) s[vk::Shift] = s[vk::LShift] = kKeyDownBit;
    if (altgr) s[vk::Control] = s[vk::LControl] = s[vk::Menu] = s[vk::RMenu] = kKeyDownBit;
    if (caps) s[vk::Capital] = kKeyToggledBit;
    std::u16string out;
    int n = kb.to_unicode(key, 0, s, out, kb.layout_of(0));
    return {n, out};
  }
};

TEST_F(X11KeyboardTest, UsLettersShiftCapsAndControlCharacters) {
  layout("us");
  X11Keyboard kb;
  ASSERT_TRUE(kb.ok());
  EXPECT_EQ(press(kb, 'A'), (std::pair{1, std::u16string(u"a")}));
  EXPECT_EQ(press(kb, 'A', true), (std::pair{1, std::u16string(u"A")}));
  EXPECT_EQ(press(kb, 'A', false, false, true), (std::pair{1, std::u16string(u"A")}));
  EXPECT_EQ(press(kb, vk::Oem1, true), (std::pair{1, std::u16string(u":")}));
  EXPECT_EQ(press(kb, vk::Return).second, u"\r");
  EXPECT_EQ(press(kb, vk::LShift).first, 0);
  EXPECT_EQ(press(kb, 'T', false, true).first, 0) << "Ctrl+Alt+T is a shortcut, as on Windows";
  EXPECT_EQ(press(kb, 'T', true, true).first, 0);
  EXPECT_EQ(kb.vk_key_scan(u'a', kb.layout_of(0)), 'A');
  EXPECT_EQ(kb.vk_key_scan(u'A', kb.layout_of(0)), (kScanShift << 8) | 'A');
  EXPECT_EQ(kb.vk_key_scan(u'?', kb.layout_of(0)), (kScanShift << 8) | vk::Oem2);
  EXPECT_EQ(kb.vk_key_scan(u'é', kb.layout_of(0)), -1);
  EXPECT_EQ(kb.map_virtual_key('Q', MapType::VkToScan, 0), 0x10u);
  EXPECT_EQ(kb.map_virtual_key(vk::Oem4, MapType::VkToChar, 0), static_cast<uint32_t>('['));
  EXPECT_EQ(kb.map_virtual_key(0x36, MapType::ScanToVk, 0), vk::Shift);
  EXPECT_EQ(kb.map_virtual_key(0x36, MapType::ScanToVkEx, 0), vk::RShift);
}

TEST_F(X11KeyboardTest, GermanLettersMoveAndAltGrTypesTheThirdLevel) {
  layout("de");
  X11Keyboard kb;
  ASSERT_TRUE(kb.ok());
  const LayoutId g = kb.layout_of(0);
  EXPECT_EQ(kb.vk_key_scan(u'z', g), 'Z');
  EXPECT_EQ(kb.map_virtual_key('Z', MapType::VkToScan, g), 0x15u) << "Z sits at the US Y place";
  EXPECT_EQ(kb.vk_key_scan(u'@', g), ((kScanCtrl | kScanAlt) << 8) | 'Q');
  EXPECT_EQ(kb.vk_key_scan(u'ö', g), vk::Oem1);
  EXPECT_EQ(press(kb, 'Q', false, true).second, u"@");
  EXPECT_EQ(press(kb, 'E', false, true).second, u"€");
  EXPECT_EQ(press(kb, 'Y').second, u"y");
}

TEST_F(X11KeyboardTest, UsInternationalDeadKeysComposeInTolvansOwnState) {
  layout("us -variant intl");
  X11Keyboard kb;
  ASSERT_TRUE(kb.ok());
  EXPECT_FALSE(kb.translation_consumes_dead_keys());
  auto dead = press(kb, vk::Oem7);
  EXPECT_EQ(dead.first, -1);
  EXPECT_EQ(dead.second, u"'");
  EXPECT_EQ(press(kb, 'E'), (std::pair{1, std::u16string(u"é")}));
  EXPECT_EQ(press(kb, 'E').second, u"e") << "the dead key was used up";
  EXPECT_EQ(press(kb, vk::Oem7).first, -1);
  EXPECT_EQ(press(kb, vk::Space).second, u"'") << "dead key and Space make the character";
  EXPECT_EQ(press(kb, vk::Oem7).first, -1);
  EXPECT_EQ(press(kb, 'Q').second, u"'q") << "no composition: both come out";
  EXPECT_EQ(kb.map_virtual_key(vk::Oem7, MapType::VkToChar, kb.layout_of(0)), 0x80000000u | '\'');
}

TEST_F(X11KeyboardTest, FollowsLayoutChangesWithoutRestarting) {
  layout("us");
  X11Keyboard kb;
  ASSERT_TRUE(kb.ok());
  EXPECT_EQ(kb.vk_key_scan(u'ß', kb.layout_of(0)), -1);
  layout("de");
  EXPECT_EQ(kb.vk_key_scan(u'ß', kb.layout_of(0)), vk::OemMinus);
}

TEST_F(X11KeyboardTest, CapsLockStateComesFromTheServer) {
  layout("us");
  X11Keyboard kb;
  ASSERT_TRUE(kb.ok());
  const bool before = (kb.key_state(vk::Capital) & kKeyToggledBit) != 0;
  ASSERT_EQ(std::system("xdotool key Caps_Lock"), 0);
  EXPECT_NE((kb.key_state(vk::Capital) & kKeyToggledBit) != 0, before);
  ASSERT_EQ(std::system("xdotool key Caps_Lock"), 0);
  EXPECT_EQ((kb.key_state(vk::Capital) & kKeyToggledBit) != 0, before);
}

}  // namespace
}  // namespace tolvan::x11
