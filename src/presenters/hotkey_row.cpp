#include "presenters/hotkey_row.h"

#include <array>

#include "launch/hotkey_string.h"
#include "platform/hotkeys.h"
#include "platform/vk_codes.h"

namespace tolvan {
namespace {

constexpr std::array<HotkeyKeyChoice, 89> kKeys = {{
    {'A', "A"}, {'B', "B"}, {'C', "C"}, {'D', "D"}, {'E', "E"}, {'F', "F"}, {'G', "G"},
    {'H', "H"}, {'I', "I"}, {'J', "J"}, {'K', "K"}, {'L', "L"}, {'M', "M"}, {'N', "N"},
    {'O', "O"}, {'P', "P"}, {'Q', "Q"}, {'R', "R"}, {'S', "S"}, {'T', "T"}, {'U', "U"},
    {'V', "V"}, {'W', "W"}, {'X', "X"}, {'Y', "Y"}, {'Z', "Z"},
    {'0', "0"}, {'1', "1"}, {'2', "2"}, {'3', "3"}, {'4', "4"},
    {'5', "5"}, {'6', "6"}, {'7', "7"}, {'8', "8"}, {'9', "9"},
    {0x20, "Space"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x08, "Backspace"}, {0x2E, "Delete"},
    {0x25, "Left"}, {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"},
    {0x21, "Page Up"}, {0x22, "Page Down"},
    {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"},
    {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"}, {0xDF, "OEM 8"}, {0xE2, "< >"},
    {0x6A, "Num *"}, {0x6B, "Num +"}, {0x6D, "Num -"}, {0x6E, "Num Del"}, {0x6F, "Num /"},
    {0x70, "F1"}, {0x71, "F2"}, {0x72, "F3"}, {0x73, "F4"}, {0x74, "F5"}, {0x75, "F6"},
    {0x76, "F7"}, {0x77, "F8"}, {0x78, "F9"}, {0x79, "F10"}, {0x7A, "F11"}, {0x7B, "F12"},
    {0x7C, "F13"}, {0x7D, "F14"}, {0x7E, "F15"}, {0x7F, "F16"}, {0x80, "F17"}, {0x81, "F18"},
    {0x82, "F19"}, {0x83, "F20"}, {0x84, "F21"}, {0x85, "F22"}, {0x86, "F23"}, {0x87, "F24"},
}};

}  // namespace

std::span<const HotkeyKeyChoice> hotkey_key_choices() { return kKeys; }

std::string hotkey_row_string(const HotkeyRow& row) {
  std::string text;
  auto add = [&](int code) {
    if (!text.empty()) text += ' ';
    text += std::to_string(code);
  };
  if (row.ctrl) add(vk::Control);
  if (row.alt) add(vk::Menu);
  if (row.shift) add(vk::Shift);
  if (row.super) add(vk::LWin);
  if (row.key != 0) add(row.key);
  return text;
}

HotkeyRow hotkey_row_from_string(std::string_view text) {
  const HotkeyCombo combo = hotkey_string_to_ints(text);
  HotkeyRow row;
  row.ctrl = combo.modifiers & kModControl;
  row.alt = combo.modifiers & kModAlt;
  row.shift = combo.modifiers & kModShift;
  row.super = combo.modifiers & kModWin;
  row.key = combo.key.value_or(0);
  return row;
}

}  // namespace tolvan
