// The X key table: every PC key place has the virtual key and the Windows scan code of
// that place, and the three lookups agree with each other.
#include "platform/x11/x11_keys.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <set>

#include "platform/vk_codes.h"

namespace tolvan::x11 {
namespace {

// evdev key code of a Linux KEY_* number.
constexpr KeyCode kc(int linux_key) { return static_cast<KeyCode>(linux_key + 8); }

struct Place {
  int linux_key;
  uint16_t vk;
  uint16_t scan;
};

TEST(X11Keys, PunctuationKeysAreNamedByTheirUsPlace) {
  const Place places[] = {
      {39, vk::Oem1, 0x27},     {13, vk::OemPlus, 0x0D}, {51, vk::OemComma, 0x33},
      {12, vk::OemMinus, 0x0C}, {52, vk::OemPeriod, 0x34}, {53, vk::Oem2, 0x35},
      {41, vk::Oem3, 0x29},     {26, vk::Oem4, 0x1A},    {43, vk::Oem5, 0x2B},
      {27, vk::Oem6, 0x1B},     {40, vk::Oem7, 0x28},    {86, vk::Oem102, 0x56},
  };
  for (const Place& p : places) {
    auto pos = position_of_keycode(kc(p.linux_key));
    ASSERT_TRUE(pos) << p.linux_key;
    EXPECT_EQ(pos->vk, p.vk) << p.linux_key;
    EXPECT_EQ(pos->scan, p.scan) << p.linux_key;
  }
}

TEST(X11Keys, LettersDigitsAndFunctionKeys) {
  EXPECT_EQ(position_of_keycode(kc(16))->vk, 'Q');
  EXPECT_EQ(position_of_keycode(kc(30))->scan, 0x1E);  // A
  EXPECT_EQ(position_of_keycode(kc(50))->vk, 'M');
  EXPECT_EQ(position_of_keycode(kc(2))->vk, '1');
  EXPECT_EQ(position_of_keycode(kc(11))->vk, '0');
  EXPECT_EQ(position_of_keycode(kc(59))->vk, vk::F1);
  EXPECT_EQ(position_of_keycode(kc(68))->vk, vk::F10);
  EXPECT_EQ(position_of_keycode(kc(87))->scan, 0x57);  // F11
  EXPECT_EQ(position_of_keycode(kc(183))->vk, 0x7C);   // F13
  EXPECT_EQ(position_of_keycode(kc(194))->vk, vk::F24);
  EXPECT_EQ(position_of_keycode(kc(194))->scan, 0x76);
  std::set<uint16_t> letters;
  for (int code = 8; code < 256; ++code) {
    auto pos = position_of_keycode(static_cast<KeyCode>(code));
    if (pos && pos->vk >= 'A' && pos->vk <= 'Z') letters.insert(pos->vk);
  }
  EXPECT_EQ(letters.size(), 26u);
}

TEST(X11Keys, ModifiersKeepTheirSidesAndTheExtendedFlag) {
  EXPECT_EQ(position_of_keycode(kc(42))->vk, vk::LShift);
  EXPECT_EQ(position_of_keycode(kc(54))->vk, vk::RShift);
  EXPECT_EQ(position_of_keycode(kc(54))->scan, 0x36);
  EXPECT_EQ(position_of_keycode(kc(29))->scan, 0x1D);
  EXPECT_EQ(position_of_keycode(kc(97))->scan, kExtendedScan | 0x1D);  // right Ctrl
  EXPECT_EQ(position_of_keycode(kc(100))->vk, vk::RMenu);
  EXPECT_EQ(position_of_keycode(kc(100))->scan, kExtendedScan | 0x38);
  EXPECT_EQ(position_of_keycode(kc(125))->vk, vk::LWin);
  EXPECT_EQ(position_of_keycode(kc(126))->vk, vk::RWin);
  EXPECT_EQ(position_of_keycode(kc(127))->vk, vk::Apps);
  EXPECT_EQ(position_of_keycode(kc(58))->vk, vk::Capital);
  // Generic codes stand for the left keys.
  EXPECT_EQ(position_of_vk(vk::Shift)->keycode, kc(42));
  EXPECT_EQ(position_of_vk(vk::Control)->keycode, kc(29));
  EXPECT_EQ(position_of_vk(vk::Menu)->keycode, kc(56));
}

TEST(X11Keys, NavigationKeysAreExtendedAndTheKeypadIsNot) {
  EXPECT_EQ(position_of_vk(vk::Home)->scan, kExtendedScan | 0x47);
  EXPECT_EQ(position_of_vk(vk::Left)->scan, kExtendedScan | 0x4B);
  EXPECT_EQ(position_of_vk(vk::Delete)->scan, kExtendedScan | 0x53);
  EXPECT_EQ(position_of_vk(vk::Numpad7)->scan, 0x47);
  EXPECT_EQ(position_of_vk(vk::Decimal)->scan, 0x53);
  EXPECT_EQ(position_of_vk(vk::Divide)->scan, kExtendedScan | 0x35);
  EXPECT_EQ(position_of_vk(vk::Snapshot)->scan, kExtendedScan | 0x37);
  EXPECT_EQ(position_of_vk(vk::NumLock)->scan, kExtendedScan | 0x45);
  EXPECT_EQ(position_of_vk(vk::Pause)->scan, 0x45);
  EXPECT_EQ(position_of_vk(vk::Scroll)->scan, 0x46);
  // The main Return, not keypad Enter, types a Return.
  EXPECT_EQ(position_of_vk(vk::Return)->keycode, kc(28));
}

TEST(X11Keys, LookupsAgreeForEveryPlace) {
  std::set<uint16_t> scans;
  for (int code = 0; code < 256; ++code) {
    auto pos = position_of_keycode(static_cast<KeyCode>(code));
    if (!pos) continue;
    EXPECT_TRUE(scans.insert(pos->scan).second) << "scan " << pos->scan << " twice";
    auto by_scan = position_of_scan(pos->scan & 0xFF, (pos->scan & kExtendedScan) != 0);
    ASSERT_TRUE(by_scan);
    EXPECT_EQ(by_scan->keycode, pos->keycode);
    auto by_vk = position_of_vk(pos->vk);
    ASSERT_TRUE(by_vk);
    EXPECT_EQ(by_vk->vk, pos->vk);
  }
  EXPECT_GE(scans.size(), 100u);
  EXPECT_FALSE(position_of_keycode(kc(0)));
  EXPECT_FALSE(position_of_vk(vk::Packet));
}

TEST(X11Keys, KeysymsThatNameTheirKey) {
  EXPECT_EQ(vk_of_keysym(XK_a), 'A');
  EXPECT_EQ(vk_of_keysym(XK_Z), 'Z');
  EXPECT_EQ(vk_of_keysym(XK_7), '7');
  EXPECT_EQ(vk_of_keysym(XK_F12), vk::F1 + 11);
  EXPECT_EQ(vk_of_keysym(XK_KP_7), vk::Numpad7);
  EXPECT_EQ(vk_of_keysym(XK_KP_Home), vk::Home);
  EXPECT_EQ(vk_of_keysym(XK_Shift_R), vk::RShift);
  EXPECT_EQ(vk_of_keysym(XK_ISO_Level3_Shift), vk::RMenu);
  EXPECT_EQ(vk_of_keysym(XK_semicolon), 0);
  EXPECT_EQ(vk_of_keysym(XK_eacute), 0);
}

TEST(X11Keys, KeyVkFollowsLettersAndNumLockElsePlace) {
  // German layout: the US Y place types z, and is VK_Z as on Windows.
  EXPECT_EQ(vk_for_key(kc(21), XK_z), 'Z');
  EXPECT_EQ(vk_for_key(kc(44), XK_y), 'Y');
  // ö on the US ; place stays VK_OEM_1.
  EXPECT_EQ(vk_for_key(kc(39), XK_odiaeresis), vk::Oem1);
  // Keypad 7 with Num Lock on and off.
  EXPECT_EQ(vk_for_key(kc(71), XK_KP_7), vk::Numpad7);
  EXPECT_EQ(vk_for_key(kc(71), XK_KP_Home), vk::Home);
  EXPECT_EQ(vk_for_key(kc(83), XK_KP_Delete), vk::Delete);
  // A dead key keeps its place.
  EXPECT_EQ(vk_for_key(kc(40), XK_dead_acute), vk::Oem7);
}

TEST(X11Keys, FixedKeysyms) {
  EXPECT_EQ(fixed_keysym_of_vk(vk::Tab), static_cast<KeySymbol>(XK_Tab));
  EXPECT_EQ(fixed_keysym_of_vk(vk::F1 + 4), static_cast<KeySymbol>(XK_F5));
  EXPECT_EQ(fixed_keysym_of_vk(vk::RMenu), static_cast<KeySymbol>(XK_Alt_R));
  EXPECT_EQ(fixed_keysym_of_vk('A'), 0u);
  EXPECT_EQ(fixed_keysym_of_vk(vk::Oem1), 0u);
}

}  // namespace
}  // namespace tolvan::x11
