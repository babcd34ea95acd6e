// Typing-time macros: the key-name table, key action groups, recognising Key/Delay/Input/
// Abbreviation macros with their odd spellings, and the Delay time.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/strings.h"
#include "engine/macros/key_names.h"
#include "engine/macros/delay.h"
#include "engine/macros/typing_macros.h"

namespace tolvan {
namespace {

// A layout with a key for ";" (0xBA), "#" (Shift+3) and "é" (0xDE); nothing else.
int fake_layout(char32_t c) {
  switch (c) {
    case U';': return 0x0BA;
    case U'#': return 0x133;
    case U'\u00E9': return 0x0DE;
    default: return -1;
  }
}

std::string describe(const KeyActionGroup& group) {
  std::string out = std::to_string(group.repeat) + ":";
  for (const KeyAction& a : group.actions) {
    static const char* words[] = {"down", "up", "tap"};
    char code[8];
    std::snprintf(code, sizeof code, "%02X", a.vk);
    out += std::string(" ") + words[static_cast<int>(a.action)] + code + (a.extended ? "e" : "");
  }
  return out;
}

TEST(KeyNames, TableHasEveryNameOnce) {
  auto table = key_macro_conv_table();
  ASSERT_EQ(table.size(), 134u);
  std::set<std::string> lower;
  for (const KeyName& row : table) {
    std::string n(row.name);
    for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(lower.insert(n).second) << row.name;
  }
  EXPECT_EQ(table.front().name, "Shift");
  EXPECT_EQ(table.back().name, "Period");
}

TEST(KeyNames, NamesResolveWithoutCase) {
  const struct {
    const char* name;
    int vk;
    bool extended;
  } cases[] = {
      {"ctrl", 0x11, true},      {"CONTROL", 0x11, true},  {"LCtrl", 0xA2, false},
      {"RShift", 0xA1, true},    {"lalt", 0xA4, false},    {"RAlt", 0xA5, true},
      {"Win", 0x5B, true},       {"BkSp", 0x08, false},    {"enter", 0x0D, false},
      {"Esc", 0x1B, false},      {"PgDn", 0x22, true},     {"home", 0x24, true},
      {"Down", 0x28, true},      {"PrintScreen", 0x2C, false}, {"Del", 0x2E, true},
      {"space", 0x20, false},    {"F1", 0x70, false},      {"f24", 0x87, false},
      {"A", 0x41, false},        {"z", 0x5A, false},       {"7", 0x37, false},
      {"Numpad0", 0x60, false},  {"numpad/", 0x6F, true},  {"Numpad.", 0x6E, false},
      {"NumpadPlus", 0x6B, false}, {"Plus", 0xBB, false},  {",", 0xBC, false},
      {"-", 0xBD, false},        {"period", 0xBE, false},
  };
  for (const auto& c : cases) {
    VkCode code = key_name_to_vk_action(c.name, nullptr);
    EXPECT_EQ(code.vk, c.vk) << c.name;
    EXPECT_EQ(code.extended, c.extended) << c.name;
  }
}

TEST(KeyNames, ShortUnknownNamesGoThroughTheLayoutWithoutShift) {
  EXPECT_EQ(key_name_to_vk_action(";", fake_layout).vk, 0xBA);
  EXPECT_EQ(key_name_to_vk_action("#", fake_layout).vk, 0x33);  // low byte only
  EXPECT_EQ(key_name_to_vk_action("\xC3\xA9", fake_layout).vk, 0xDE);
  EXPECT_EQ(key_name_to_vk_action("/", fake_layout).vk, 0);
  EXPECT_EQ(key_name_to_vk_action(";", nullptr).vk, 0);
}

TEST(KeyNames, LongUnknownNamesAreNoKey) {
  int calls = 0;
  KeyLayoutLookup counting = [&calls](char32_t c) {
    ++calls;
    return fake_layout(c);
  };
  EXPECT_EQ(key_name_to_vk_action("Ctrl1", counting).vk, 0);
  EXPECT_EQ(key_name_to_vk_action(";;;", counting).vk, 0);
  EXPECT_EQ(key_name_to_vk_action("\xE2\x82\xAC", counting).vk, 0);  // three bytes
  EXPECT_EQ(key_name_to_vk_action("", counting).vk, 0);
  EXPECT_EQ(calls, 0);
}

TEST(KeyActions, CombinationPressesInOrderAndReleasesInReverse) {
  EXPECT_EQ(describe(key_name_to_vks_and_actions("Ctrl+Shift+End", KeyActionKind::kPressAndRelease,
                                                 1, nullptr)),
            "1: down11e down10 down23e up23e up10 up11e");
  EXPECT_EQ(describe(key_name_to_vks_and_actions("Ctrl+Shift", KeyActionKind::kPress, 1, nullptr)),
            "1: down11e down10");
  EXPECT_EQ(describe(key_name_to_vks_and_actions("Ctrl+Shift", KeyActionKind::kRelease, 2, nullptr)),
            "2: up11e up10");
  EXPECT_EQ(describe(key_name_to_vks_and_actions("Tab", KeyActionKind::kPressAndRelease, 3, nullptr)),
            "3: tap09");
  // Empty pieces between "+" are dropped; unknown names keep their place as code 0.
  EXPECT_EQ(describe(key_name_to_vks_and_actions("Alt++Foo", KeyActionKind::kPressAndRelease, 1,
                                                 nullptr)),
            "1: down12e down00 up00 up12e");
}

class TypingMacro : public ::testing::Test {
 protected:
  TypingMacroStep plan(std::string_view text, size_t pos = 0) {
    return keysim_plan_macro(text, pos, fake_layout);
  }
};

TEST_F(TypingMacro, ParsesNameArgumentsAndLengths) {
  auto m = keysim_parse_valid_macro("%(Key Tab 3) rest");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->name, "Key");
  EXPECT_EQ(m->arguments, "Tab 3");
  EXPECT_EQ(m->length_bytes, 12u);
  m = keysim_parse_valid_macro("%(Input caf\xC3\xA9)");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->arguments, "caf\xC3\xA9");
  EXPECT_EQ(m->length_bytes, 14u);
  EXPECT_EQ(m->length_chars, 13u);
}

TEST_F(TypingMacro, RejectsMacrosWithoutArgumentsOrClosingParenthesis) {
  EXPECT_FALSE(keysim_parse_valid_macro("%(Key)"));
  EXPECT_FALSE(keysim_parse_valid_macro("%(Key )"));
  EXPECT_FALSE(keysim_parse_valid_macro("%(Key Tab"));
  EXPECT_FALSE(keysim_parse_valid_macro("%(Delay)"));
  EXPECT_FALSE(keysim_parse_valid_macro("%(Abbrev)"));
  EXPECT_FALSE(keysim_parse_valid_macro("%(Day)"));
  EXPECT_FALSE(keysim_parse_valid_macro("%(Input"));
  auto input = keysim_parse_valid_macro("%(Input)");
  ASSERT_TRUE(input);
  EXPECT_EQ(input->arguments, "");
}

TEST_F(TypingMacro, KeyMacrosWithCountsAndCase) {
  auto s = plan("%(Key Tab 3)");
  EXPECT_EQ(s.kind, TypingMacroKind::kKeys);
  EXPECT_EQ(describe(s.keys), "3: tap09");
  EXPECT_EQ(s.length_bytes, 12u);
  EXPECT_EQ(describe(plan("%(Key Tab 0)").keys), "0: tap09");
  EXPECT_EQ(describe(plan("%(Key Tab x)").keys), "0: tap09");
  EXPECT_EQ(describe(plan("%(Key Tab)").keys), "1: tap09");
  EXPECT_EQ(describe(plan("%(KEYDOWN Shift)").keys), "1: down10");
  EXPECT_EQ(describe(plan("%(keyup shift)").keys), "1: up10");
  EXPECT_EQ(describe(plan("%(Key Ctrl+Shift+End)").keys),
            "1: down11e down10 down23e up23e up10 up11e");
  EXPECT_EQ(describe(plan("%(Key ;)").keys), "1: tapBA");
}

TEST_F(TypingMacro, OtherKeyNamesAndEmptyKeysAreText) {
  EXPECT_EQ(plan("%(KeyPress Tab)").kind, TypingMacroKind::kNotAMacro);
  EXPECT_EQ(plan("%(Key  )").kind, TypingMacroKind::kNotAMacro);
  EXPECT_EQ(plan("%(Key Tab").kind, TypingMacroKind::kNotAMacro);
  EXPECT_EQ(plan("x%(Key Tab)").kind, TypingMacroKind::kNotAMacro);
}

TEST_F(TypingMacro, EscapedPercentIsDroppedNotExecuted) {
  EXPECT_EQ(plan("%%(Key Enter)", 1).kind, TypingMacroKind::kEscapedPercent);
  EXPECT_EQ(plan("%%(Key Enter)", 0).kind, TypingMacroKind::kNotAMacro);
  EXPECT_EQ(plan("%%%(Key Enter)", 2).kind, TypingMacroKind::kKeys);
}

TEST_F(TypingMacro, DelayInputAndAbbreviation) {
  auto s = plan("%(Delay 1s500ms)");
  EXPECT_EQ(s.kind, TypingMacroKind::kDelay);
  EXPECT_EQ(s.delay_ms, 1500);
  s = plan("%(Delay 250 )");
  EXPECT_EQ(s.kind, TypingMacroKind::kDelay);
  EXPECT_EQ(s.delay_ms, 0);
  s = plan("%(input Your name)");
  EXPECT_EQ(s.kind, TypingMacroKind::kInput);
  EXPECT_EQ(s.input_default, "Your name");
  EXPECT_EQ(plan("%(Input)").kind, TypingMacroKind::kInput);
  EXPECT_EQ(plan("%(Abbreviation btw)").kind, TypingMacroKind::kIgnored);
  EXPECT_EQ(plan("%(Abbrev btw)").length_bytes, 13u);
  // Longer names that start like Delay or Input are removed, not run.
  EXPECT_EQ(plan("%(Delayed 5)").kind, TypingMacroKind::kIgnored);
  EXPECT_EQ(plan("%(Inputs)").kind, TypingMacroKind::kIgnored);
}

TEST(DelayTime, NumbersWithUnits) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"1s500ms", 1500}, {"250", 250}, {"2S", 2000}, {"", 0},     {"250 ", 0},
      {"5MS", 5},        {"x5", 0},    {"1s x", 1000}, {"10s5", 10005}, {"3h", 0},
      {"1s2s", 3000},    {"7ms8", 15}, {" 250", 0},
  };
  for (const auto& [arg, ms] : cases) EXPECT_EQ(delay_macro_get_ms(arg), ms) << arg;
  EXPECT_GT(delay_macro_get_ms("99999999999999999999999s"), 0);
}

}  // namespace
}  // namespace tolvan
