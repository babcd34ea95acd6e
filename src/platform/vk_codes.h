// Windows virtual-key codes: the key identities Tolvan uses everywhere above the platform
// layer (hotkey strings, the trigger key, key macros, modifier bookkeeping). Backends
// translate their own key codes to and from these.
#pragma once

#include <cstdint>

namespace tolvan::vk {

// Names follow the Windows VK_ names without the prefix, in CamelCase (so they never meet
// the Windows headers' macros).
inline constexpr uint16_t Back = 0x08;
inline constexpr uint16_t Tab = 0x09;
inline constexpr uint16_t Clear = 0x0C;
inline constexpr uint16_t Return = 0x0D;
inline constexpr uint16_t Shift = 0x10;
inline constexpr uint16_t Control = 0x11;
inline constexpr uint16_t Menu = 0x12;  // Alt
inline constexpr uint16_t Pause = 0x13;
inline constexpr uint16_t Capital = 0x14;  // Caps Lock
inline constexpr uint16_t Escape = 0x1B;
inline constexpr uint16_t Space = 0x20;
inline constexpr uint16_t Prior = 0x21;  // Page Up
inline constexpr uint16_t Next = 0x22;   // Page Down
inline constexpr uint16_t End = 0x23;
inline constexpr uint16_t Home = 0x24;
inline constexpr uint16_t Left = 0x25;
inline constexpr uint16_t Up = 0x26;
inline constexpr uint16_t Right = 0x27;
inline constexpr uint16_t Down = 0x28;
inline constexpr uint16_t Snapshot = 0x2C;  // Print Screen
inline constexpr uint16_t Insert = 0x2D;
inline constexpr uint16_t Delete = 0x2E;
inline constexpr uint16_t Key0 = 0x30;  // '0' to '9' are 0x30 to 0x39
inline constexpr uint16_t KeyA = 0x41;  // 'A' to 'Z' are 0x41 to 0x5A
inline constexpr uint16_t KeyV = 0x56;
inline constexpr uint16_t KeyZ = 0x5A;
inline constexpr uint16_t LWin = 0x5B;
inline constexpr uint16_t RWin = 0x5C;
inline constexpr uint16_t Apps = 0x5D;
inline constexpr uint16_t Numpad0 = 0x60;
inline constexpr uint16_t Numpad1 = 0x61;
inline constexpr uint16_t Numpad2 = 0x62;
inline constexpr uint16_t Numpad3 = 0x63;
inline constexpr uint16_t Numpad4 = 0x64;
inline constexpr uint16_t Numpad5 = 0x65;
inline constexpr uint16_t Numpad6 = 0x66;
inline constexpr uint16_t Numpad7 = 0x67;
inline constexpr uint16_t Numpad8 = 0x68;
inline constexpr uint16_t Numpad9 = 0x69;
inline constexpr uint16_t Multiply = 0x6A;
inline constexpr uint16_t Add = 0x6B;
inline constexpr uint16_t Separator = 0x6C;
inline constexpr uint16_t Subtract = 0x6D;
inline constexpr uint16_t Decimal = 0x6E;
inline constexpr uint16_t Divide = 0x6F;
inline constexpr uint16_t F1 = 0x70;  // to F24 = 0x87
inline constexpr uint16_t F10 = 0x79;
inline constexpr uint16_t F24 = 0x87;
inline constexpr uint16_t NumLock = 0x90;
inline constexpr uint16_t Scroll = 0x91;
inline constexpr uint16_t LShift = 0xA0;
inline constexpr uint16_t RShift = 0xA1;
inline constexpr uint16_t LControl = 0xA2;
inline constexpr uint16_t RControl = 0xA3;
inline constexpr uint16_t LMenu = 0xA4;
inline constexpr uint16_t RMenu = 0xA5;  // right Alt, AltGr on layouts that have it
inline constexpr uint16_t Oem1 = 0xBA;       // US ;:
inline constexpr uint16_t OemPlus = 0xBB;    // US =+
inline constexpr uint16_t OemComma = 0xBC;   // ,
inline constexpr uint16_t OemMinus = 0xBD;   // -
inline constexpr uint16_t OemPeriod = 0xBE;  // .
inline constexpr uint16_t Oem2 = 0xBF;       // US /?
inline constexpr uint16_t Oem3 = 0xC0;       // US `~
inline constexpr uint16_t Oem4 = 0xDB;       // US [{
inline constexpr uint16_t Oem5 = 0xDC;       // US \|
inline constexpr uint16_t Oem6 = 0xDD;       // US ]}
inline constexpr uint16_t Oem7 = 0xDE;       // US '"
inline constexpr uint16_t Oem102 = 0xE2;     // the extra key beside left Shift (German <>|)
inline constexpr uint16_t Packet = 0xE7;     // a Unicode character sent as input

// The left/right variants that a keyboard hook reports for the generic modifier codes.
inline constexpr bool is_shift(uint16_t code) { return code == Shift || code == LShift || code == RShift; }
inline constexpr bool is_control(uint16_t code) {
  return code == Control || code == LControl || code == RControl;
}
inline constexpr bool is_alt(uint16_t code) { return code == Menu || code == LMenu || code == RMenu; }

}  // namespace tolvan::vk
