// The key-name table and the parsing of a Key macro's keys argument.
#include "engine/macros/key_names.h"

#include <algorithm>
#include <array>

#include "core/strings.h"
#include "core/utf.h"

namespace tolvan {
namespace {

constexpr std::array<KeyName, 134> kKeyMacroConv = {{
    {"Shift", 0x10, false},
    {"LShift", 0xA0, false},
    {"RShift", 0xA1, true},
    {"Control", 0x11, true},
    {"Ctrl", 0x11, true},
    {"LControl", 0xA2, false},
    {"LCtrl", 0xA2, false},
    {"RControl", 0xA3, true},
    {"RCtrl", 0xA3, true},
    {"Alt", 0x12, true},
    {"LAlt", 0xA4, false},
    {"RAlt", 0xA5, true},
    {"Win", 0x5B, true},
    {"LWin", 0x5B, true},
    {"RWin", 0x5C, true},
    {"Backspace", 0x08, false},
    {"BkSp", 0x08, false},
    {"Tab", 0x09, false},
    {"Clear", 0x0C, false},
    {"Return", 0x0D, false},
    {"Enter", 0x0D, false},
    {"Pause", 0x13, false},
    {"CapsLock", 0x14, false},
    {"NumLock", 0x90, false},
    {"ScrollLock", 0x91, false},
    {"Escape", 0x1B, false},
    {"Esc", 0x1B, false},
    {"PageUp", 0x21, true},
    {"PgUp", 0x21, true},
    {"PageDown", 0x22, true},
    {"PgDown", 0x22, true},
    {"PgDn", 0x22, true},
    {"End", 0x23, true},
    {"Home", 0x24, true},
    {"Left", 0x25, true},
    {"Up", 0x26, true},
    {"Right", 0x27, true},
    {"Down", 0x28, true},
    {"PrtScr", 0x2C, false},
    {"PrintScreen", 0x2C, false},
    {"Insert", 0x2D, true},
    {"Ins", 0x2D, true},
    {"Delete", 0x2E, true},
    {"Del", 0x2E, true},
    {"Space", 0x20, false},
    {"F1", 0x70, false},
    {"F2", 0x71, false},
    {"F3", 0x72, false},
    {"F4", 0x73, false},
    {"F5", 0x74, false},
    {"F6", 0x75, false},
    {"F7", 0x76, false},
    {"F8", 0x77, false},
    {"F9", 0x78, false},
    {"F10", 0x79, false},
    {"F11", 0x7A, false},
    {"F12", 0x7B, false},
    {"F13", 0x7C, false},
    {"F14", 0x7D, false},
    {"F15", 0x7E, false},
    {"F16", 0x7F, false},
    {"F17", 0x80, false},
    {"F18", 0x81, false},
    {"F19", 0x82, false},
    {"F20", 0x83, false},
    {"F21", 0x84, false},
    {"F22", 0x85, false},
    {"F23", 0x86, false},
    {"F24", 0x87, false},
    {"a", 0x41, false},
    {"b", 0x42, false},
    {"c", 0x43, false},
    {"d", 0x44, false},
    {"e", 0x45, false},
    {"f", 0x46, false},
    {"g", 0x47, false},
    {"h", 0x48, false},
    {"i", 0x49, false},
    {"j", 0x4A, false},
    {"k", 0x4B, false},
    {"l", 0x4C, false},
    {"m", 0x4D, false},
    {"n", 0x4E, false},
    {"o", 0x4F, false},
    {"p", 0x50, false},
    {"q", 0x51, false},
    {"r", 0x52, false},
    {"s", 0x53, false},
    {"t", 0x54, false},
    {"u", 0x55, false},
    {"v", 0x56, false},
    {"w", 0x57, false},
    {"x", 0x58, false},
    {"y", 0x59, false},
    {"z", 0x5A, false},
    {"0", 0x30, false},
    {"1", 0x31, false},
    {"2", 0x32, false},
    {"3", 0x33, false},
    {"4", 0x34, false},
    {"5", 0x35, false},
    {"6", 0x36, false},
    {"7", 0x37, false},
    {"8", 0x38, false},
    {"9", 0x39, false},
    {"Numpad0", 0x60, false},
    {"Numpad1", 0x61, false},
    {"Numpad2", 0x62, false},
    {"Numpad3", 0x63, false},
    {"Numpad4", 0x64, false},
    {"Numpad5", 0x65, false},
    {"Numpad6", 0x66, false},
    {"Numpad7", 0x67, false},
    {"Numpad8", 0x68, false},
    {"Numpad9", 0x69, false},
    {"NumpadDivide", 0x6F, true},
    {"Numpad/", 0x6F, true},
    {"NumpadMultiply", 0x6A, false},
    {"Numpad*", 0x6A, false},
    {"NumpadSubtract", 0x6D, false},
    {"Numpad-", 0x6D, false},
    {"NumpadDecimal", 0x6E, false},
    {"NumpadPeriod", 0x6E, false},
    {"Numpad.", 0x6E, false},
    {"NumpadAdd", 0x6B, false},
    {"NumpadPlus", 0x6B, false},
    {"Plus", 0xBB, false},
    {"Add", 0xBB, false},
    {",", 0xBC, false},
    {"Comma", 0xBC, false},
    {"-", 0xBD, false},
    {"Minus", 0xBD, false},
    {".", 0xBE, false},
    {"Period", 0xBE, false},
}};

}  // namespace

std::span<const KeyName> key_macro_conv_table() { return kKeyMacroConv; }

VkCode key_name_to_vk_action(std::string_view name, const KeyLayoutLookup& layout) {
  for (const KeyName& row : kKeyMacroConv) {
    if (equals_ignore_case(row.name, name)) return {row.vk, row.extended};
  }
  if (name.empty() || name.size() > 2 || !layout) return {};
  std::optional<Utf8Char> decoded = utf8_char_at(name);
  // Not UTF-8: the byte stands for itself.
  const char32_t first = decoded ? decoded->value : static_cast<unsigned char>(name[0]);
  int scan = layout(first);
  if (scan < 1) return {};
  return {scan & 0xFF, false};
}

KeyActionGroup key_name_to_vks_and_actions(std::string_view keys, KeyActionKind action, int count,
                                           const KeyLayoutLookup& layout) {
  KeyActionGroup group{std::max(0, count), {}};
  if (keys.find('+') == std::string_view::npos) {
    VkCode code = key_name_to_vk_action(keys, layout);
    group.actions.push_back({code.vk, action, code.extended});
    return group;
  }
  const std::vector<std::string> names = strsplit(keys, "+");
  const KeyActionKind each =
      action == KeyActionKind::kPressAndRelease ? KeyActionKind::kPress : action;
  for (const std::string& name : names) {
    VkCode code = key_name_to_vk_action(name, layout);
    group.actions.push_back({code.vk, each, code.extended});
  }
  if (action == KeyActionKind::kPressAndRelease) {
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
      VkCode code = key_name_to_vk_action(*it, layout);
      group.actions.push_back({code.vk, KeyActionKind::kRelease, code.extended});
    }
  }
  return group;
}

}  // namespace tolvan
