// A hotkey row as windows show it (Ctrl, Alt, Shift and Super boxes and a key combo) and
// its stored form, the hotkey string: the codes of Ctrl (17), Alt (18), Shift (16) and
// Super (91) that are ticked, in that order, then the key's code, separated by spaces.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tolvan {

struct HotkeyKeyChoice {
  int vk;
  std::string_view name;
};

// The keys a hotkey row offers, after its empty first row: A to Z, 0 to 9, Space, Tab,
// Enter, Backspace, Delete, the arrows, Page Up, Page Down, the punctuation keys, the
// numeric pad's operators, F1 to F24 (89 keys).
std::span<const HotkeyKeyChoice> hotkey_key_choices();

struct HotkeyRow {
  bool ctrl = false, alt = false, shift = false, super = false;
  int key = 0;  // a virtual-key code of hotkey_key_choices(), 0 for none

  friend bool operator==(const HotkeyRow&, const HotkeyRow&) = default;
};

std::string hotkey_row_string(const HotkeyRow& row);
// Ticks a box for each modifier code and takes any other code as the key.
HotkeyRow hotkey_row_from_string(std::string_view text);

}  // namespace tolvan
