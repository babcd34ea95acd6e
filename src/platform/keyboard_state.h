// KeyboardState: the state of every key and the keyboard layouts that turn keys into text
// and text back into keys, with Windows' semantics, which the engine is written in.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/windows.h"

namespace tolvan {

// One byte per virtual-key code: bit 0x80 down, bit 0x01 toggled (Caps Lock, Num Lock).
using KeyStateArray = std::array<uint8_t, 256>;
inline constexpr uint8_t kKeyDownBit = 0x80;
inline constexpr uint8_t kKeyToggledBit = 0x01;

// A keyboard layout, as the platform identifies it (a Windows layout handle; an X keyboard
// group).
using LayoutId = uint64_t;

// What map_virtual_key converts, with Windows' numbers.
enum class MapType : uint32_t {
  VkToScan = 0,    // virtual key -> scan code (low byte; left/right modifiers kept apart)
  ScanToVk = 1,    // scan code -> virtual key, generic Shift/Ctrl/Alt
  VkToChar = 2,    // virtual key -> unshifted character, bit 31 set for a dead key
  ScanToVkEx = 3,  // scan code -> virtual key, left/right modifiers kept apart
  VkToScanEx = 4,  // virtual key -> scan code with 0xE000 for extended keys
};

// vk_key_scan's high byte: the modifiers the character needs.
inline constexpr int kScanShift = 0x01;
inline constexpr int kScanCtrl = 0x02;
inline constexpr int kScanAlt = 0x04;  // Ctrl+Alt (6) means AltGr

class KeyboardState {
 public:
  virtual ~KeyboardState() = default;

  // The focused thread's logical state of all keys; nullopt when it cannot be read.
  virtual std::optional<KeyStateArray> keyboard_state() = 0;
  // One key of it (0x80 down, 0x01 toggled).
  virtual uint8_t key_state(uint16_t vk) = 0;
  // Whether the key is down right now in the input stream as processed so far.
  virtual bool async_down(uint16_t vk) = 0;

  // The layout that the window's thread types with.
  virtual LayoutId layout_of(WindowId window) = 0;

  // Translates a key-down with the given key state, as Windows does: answers -1 for a
  // dead key (its spacing character in `out`, and it is now pending), 0 when the key makes
  // no text, else the number of UTF-16 units written to `out` (a pending dead key composes
  // with this key, or comes out before it when they do not compose).
  virtual int to_unicode(uint16_t vk, uint16_t scan, const KeyStateArray& state,
                         std::u16string& out, LayoutId layout) = 0;
  // True when translating with to_unicode takes part in the application's own dead-key
  // composition (Windows): a dead key the engine translates is then consumed and must be
  // replayed. False when translation leaves the application's composition alone.
  virtual bool translation_consumes_dead_keys() const = 0;

  // The key and modifiers that type the character, as Windows finds them: low byte the
  // virtual key, high byte kScan* bits; -1 when no key of the layout makes it.
  virtual int16_t vk_key_scan(char16_t ch, LayoutId layout) = 0;
  // Whether the key and modifiers of a vk_key_scan answer make a dead key: pressed, they
  // type nothing yet but leave their accent pending for the next key (US-International's
  // ' and ", German ^). On Windows, ToUnicodeEx with those modifiers answers -1.
  virtual bool is_dead_key(int16_t key_scan, LayoutId layout) = 0;
  virtual uint32_t map_virtual_key(uint32_t code, MapType type, LayoutId layout) = 0;
};

}  // namespace tolvan
