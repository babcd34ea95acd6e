// The layouts' translation rules: ToUnicodeEx with dead keys, VkKeyScanExW, MapVirtualKeyEx.
#include "platform/sim/layout.h"

#include <gtest/gtest.h>

#include "core/utf.h"
#include "platform/vk_codes.h"

namespace tolvan::sim {
namespace {

struct Mods {
  bool shift = false, ctrl = false, alt = false, caps = false;
};

KeyStateArray state_with(Mods m) {
  KeyStateArray s{};
  if (m.shift) s[vk::Shift] = s[vk::LShift] = kKeyDownBit;
  if (m.ctrl) s[vk::Control] = s[vk::LControl] = kKeyDownBit;
  if (m.alt) s[vk::Menu] = s[vk::RMenu] = kKeyDownBit;
  if (m.caps) s[vk::Capital] = kKeyToggledBit;
  return s;
}

// Translates one key and gives (result, text).
std::pair<int, std::string> press(const Layout& layout, DeadKeyState& dead, uint16_t key, Mods m = {}) {
  std::u16string out;
  int n = translate_key(layout, dead, key, state_with(m), out);
  return {n, u16_to_utf8(out)};
}

TEST(LayoutTranslation, UsLettersShiftCapsAndControlCharacters) {
  DeadKeyState dead;
  const Layout& us = us_layout();
  EXPECT_EQ(press(us, dead, 'A'), std::make_pair(1, std::string("a")));
  EXPECT_EQ(press(us, dead, 'A', {.shift = true}), std::make_pair(1, std::string("A")));
  EXPECT_EQ(press(us, dead, 'A', {.caps = true}), std::make_pair(1, std::string("A")));
  EXPECT_EQ(press(us, dead, 'A', {.shift = true, .caps = true}), std::make_pair(1, std::string("a")));
  // Caps Lock leaves digits and punctuation alone.
  EXPECT_EQ(press(us, dead, '1', {.caps = true}), std::make_pair(1, std::string("1")));
  EXPECT_EQ(press(us, dead, vk::Oem2, {.shift = true}), std::make_pair(1, std::string("?")));
  EXPECT_EQ(press(us, dead, 'V', {.ctrl = true}), std::make_pair(1, std::string("\x16")));
  EXPECT_EQ(press(us, dead, vk::Return), std::make_pair(1, std::string("\r")));
  EXPECT_EQ(press(us, dead, vk::Back), std::make_pair(1, std::string("\b")));
  EXPECT_EQ(press(us, dead, vk::Left).first, 0);
  EXPECT_EQ(press(us, dead, vk::LShift).first, 0);
  // US has no AltGr: Ctrl+Alt+key types nothing.
  EXPECT_EQ(press(us, dead, 'E', {.ctrl = true, .alt = true}).first, 0);
  // Its apostrophe is no dead key.
  EXPECT_EQ(press(us, dead, vk::Oem7), std::make_pair(1, std::string("'")));
}

TEST(LayoutTranslation, UsInternationalDeadKeysComposeAndAreConsumed) {
  const Layout& intl = us_international_layout();
  DeadKeyState dead;
  EXPECT_EQ(press(intl, dead, vk::Oem7).first, -1);
  EXPECT_EQ(dead.pending, u'\'');
  EXPECT_EQ(press(intl, dead, 'E'), std::make_pair(1, std::string("é")));
  EXPECT_EQ(dead.pending, 0) << "composing consumes the dead key";

  EXPECT_EQ(press(intl, dead, vk::Oem7, {.shift = true}).first, -1);  // "
  EXPECT_EQ(press(intl, dead, 'U', {.shift = true}), std::make_pair(1, std::string("Ü")));
  EXPECT_EQ(press(intl, dead, '6', {.shift = true}).first, -1);  // ^
  EXPECT_EQ(press(intl, dead, 'O'), std::make_pair(1, std::string("ô")));
  EXPECT_EQ(press(intl, dead, vk::Oem3, {.shift = true}).first, -1);  // ~
  EXPECT_EQ(press(intl, dead, 'N'), std::make_pair(1, std::string("ñ")));
  EXPECT_EQ(press(intl, dead, vk::Oem3).first, -1);  // `
  EXPECT_EQ(press(intl, dead, 'A', {.caps = true}), std::make_pair(1, std::string("À")));

  // Space gives the accent itself; a key it does not compose with comes after the accent.
  EXPECT_EQ(press(intl, dead, vk::Oem7).first, -1);
  EXPECT_EQ(press(intl, dead, vk::Space), std::make_pair(1, std::string("'")));
  EXPECT_EQ(press(intl, dead, vk::Oem7).first, -1);
  EXPECT_EQ(press(intl, dead, 'T'), std::make_pair(2, std::string("'t")));
  // The same dead key twice: both accents, nothing left pending.
  EXPECT_EQ(press(intl, dead, vk::Oem7).first, -1);
  EXPECT_EQ(press(intl, dead, vk::Oem7), std::make_pair(2, std::string("''")));
  EXPECT_EQ(dead.pending, 0);
  // A key without text (Shift, an arrow) leaves the dead key pending.
  EXPECT_EQ(press(intl, dead, vk::Oem7).first, -1);
  EXPECT_EQ(press(intl, dead, vk::LShift).first, 0);
  EXPECT_EQ(dead.pending, u'\'');
  EXPECT_EQ(press(intl, dead, 'C'), std::make_pair(1, std::string("ç")));
  // AltGr characters.
  EXPECT_EQ(press(intl, dead, 'E', {.ctrl = true, .alt = true}), std::make_pair(1, std::string("é")));
  EXPECT_EQ(press(intl, dead, 'S', {.shift = true, .ctrl = true, .alt = true}), std::make_pair(1, std::string("§")));
}

TEST(LayoutTranslation, GermanAltGrDeadKeysAndKeyPositions) {
  const Layout& de = german_layout();
  DeadKeyState dead;
  EXPECT_EQ(press(de, dead, 'Q', {.ctrl = true, .alt = true}), std::make_pair(1, std::string("@")));
  EXPECT_EQ(press(de, dead, 'E', {.ctrl = true, .alt = true}), std::make_pair(1, std::string("€")));
  EXPECT_EQ(press(de, dead, vk::Oem4, {.ctrl = true, .alt = true}), std::make_pair(1, std::string("\\")));
  EXPECT_EQ(press(de, dead, vk::Oem7), std::make_pair(1, std::string("ä")));
  EXPECT_EQ(press(de, dead, vk::Oem7, {.caps = true}), std::make_pair(1, std::string("Ä")));
  EXPECT_EQ(press(de, dead, '7', {.shift = true}), std::make_pair(1, std::string("/")));
  EXPECT_EQ(press(de, dead, vk::Oem5).first, -1);  // ^
  EXPECT_EQ(press(de, dead, 'E'), std::make_pair(1, std::string("ê")));
  EXPECT_EQ(press(de, dead, vk::Oem6).first, -1);  // ´
  EXPECT_EQ(press(de, dead, 'E'), std::make_pair(1, std::string("é")));
  EXPECT_EQ(press(de, dead, vk::Oem6, {.shift = true}).first, -1);  // `
  EXPECT_EQ(press(de, dead, 'A'), std::make_pair(1, std::string("à")));
  EXPECT_EQ(press(de, dead, vk::Oem5).first, -1);
  EXPECT_EQ(press(de, dead, vk::Space), std::make_pair(1, std::string("^")));
  // Y and Z trade places: the key right of T is VK_Z.
  EXPECT_EQ(vk_from_scan(de, 0x15), 'Z');
  EXPECT_EQ(vk_from_scan(us_layout(), 0x15), 'Y');
  EXPECT_EQ(press(de, dead, vk::Decimal), std::make_pair(1, std::string(",")));
}

TEST(LayoutKeyScan, FindsKeyAndModifiersLikeVkKeyScanExW) {
  EXPECT_EQ(scan_char(us_layout(), u'a'), 'A');
  EXPECT_EQ(scan_char(us_layout(), u'A'), 0x100 | 'A');
  EXPECT_EQ(scan_char(us_layout(), u'?'), 0x100 | vk::Oem2);
  EXPECT_EQ(scan_char(us_layout(), u'\n'), 0x200 | vk::Return);
  EXPECT_EQ(scan_char(us_layout(), u'\t'), vk::Tab);
  EXPECT_EQ(scan_char(us_layout(), u'é'), -1);
  EXPECT_EQ(scan_char(german_layout(), u'@'), 0x600 | 'Q');
  EXPECT_EQ(scan_char(german_layout(), u'z'), 'Z');
  EXPECT_EQ(scan_char(german_layout(), u'é'), -1) << "made only by composing";
  // A character that only a dead key makes answers with the dead key.
  EXPECT_EQ(scan_char(german_layout(), u'^'), vk::Oem5);
  EXPECT_EQ(scan_char(us_international_layout(), u'\''), vk::Oem7);
  EXPECT_EQ(scan_char(us_international_layout(), u'é'), 0x600 | 'E');
  EXPECT_EQ(scan_char(us_layout(), u'€'), -1);
}

TEST(LayoutKeyScan, TellsWhetherTheKeyAtItsLevelIsDead) {
  const Layout& intl = us_international_layout();
  const Layout& de = german_layout();
  auto dead = [](const Layout& layout, char16_t ch) {
    return scan_is_dead(layout, scan_char(layout, ch));
  };
  EXPECT_TRUE(dead(intl, u'\''));
  EXPECT_TRUE(dead(intl, u'"'));
  EXPECT_TRUE(dead(intl, u'^')) << "Shift+6; the 6 itself is no dead key";
  EXPECT_FALSE(dead(intl, u'6'));
  EXPECT_FALSE(dead(intl, u'\u00B4')) << "AltGr's acute types at once";
  EXPECT_TRUE(dead(de, u'^'));
  EXPECT_FALSE(dead(de, u'\u00B0')) << "the ^ key's shifted degree sign";
  EXPECT_TRUE(dead(de, u'`'));
  EXPECT_FALSE(dead(de, u'"'));
  EXPECT_FALSE(dead(us_layout(), u'\''));
  EXPECT_FALSE(dead(intl, u'\n')) << "Ctrl+Enter";
  EXPECT_FALSE(scan_is_dead(intl, -1));
}

TEST(LayoutMapping, MapsCodesLikeMapVirtualKeyEx) {
  const Layout& us = us_layout();
  EXPECT_EQ(map_key(us, 'A', MapType::VkToScan), 0x1Eu);
  EXPECT_EQ(map_key(us, vk::Shift, MapType::VkToScan), 0x2Au);
  EXPECT_EQ(map_key(us, static_cast<uint32_t>(scan_char(us, u'!')), MapType::VkToScan), 0x02u);
  EXPECT_EQ(map_key(us, vk::RShift, MapType::VkToScan), 0x36u);
  EXPECT_EQ(map_key(us, vk::Left, MapType::VkToScan), 0x4Bu);
  EXPECT_EQ(map_key(us, vk::Left, MapType::VkToScanEx), 0xE04Bu);
  EXPECT_EQ(map_key(us, 0x2A, MapType::ScanToVk), vk::Shift);
  EXPECT_EQ(map_key(us, 0x36, MapType::ScanToVkEx), vk::RShift);
  EXPECT_EQ(map_key(us, 'A', MapType::VkToChar), static_cast<uint32_t>('A'));
  EXPECT_EQ(map_key(us_international_layout(), vk::Oem7, MapType::VkToChar), 0x80000000u | '\'');
  EXPECT_EQ(map_key(german_layout(), 'Y', MapType::VkToScan), 0x2Cu);
  EXPECT_EQ(map_key(us, vk::F1 + 11, MapType::VkToScan), 0x58u);
}

}  // namespace
}  // namespace tolvan::sim
