// Key names of the Key, KeyDown and KeyUp macros: the table of names, resolving a name to a
// Windows virtual-key code, and turning "Ctrl+Shift+End" into press/release actions.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "engine/macros/macro_environment.h"

namespace tolvan {

struct KeyName {
  std::string_view name;
  int vk;
  bool extended;  // the key's events carry the extended-key flag (kKeyExtended)
};

// All 134 rows in table order; names compare without case.
std::span<const KeyName> key_macro_conv_table();

enum class KeyActionKind { kPress = 0, kRelease = 1, kPressAndRelease = 2 };

struct KeyAction {
  int vk;
  KeyActionKind action;
  bool extended;
};

// A run of actions sent `repeat` times.
struct KeyActionGroup {
  int repeat;
  std::vector<KeyAction> actions;
};

struct VkCode {
  int vk = 0;  // 0: no such key
  bool extended = false;
};

// A name from the table; else a name of at most two bytes through the layout (its first
// character, low byte of the result, so no Shift); else code 0.
VkCode key_name_to_vk_action(std::string_view name, const KeyLayoutLookup& layout);

// One group for a Key macro's keys argument: a single key gets `action`; keys joined by
// "+" are pressed in order (or released, for a release) and, for press-and-release, then
// released in reverse order.
KeyActionGroup key_name_to_vks_and_actions(std::string_view keys, KeyActionKind action, int count,
                                           const KeyLayoutLookup& layout);

}  // namespace tolvan
