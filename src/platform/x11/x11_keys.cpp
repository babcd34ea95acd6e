// The key table: evdev key codes (Linux KEY_* + 8) of a PC keyboard, the virtual key of
// each place on the US layout, and the scan code Windows gives that place. Below 0x59 the
// Linux key number is the set-1 scan code itself; the E0-prefixed keys carry 0xE000.
#include "platform/x11/x11_keys.h"

#include <X11/keysym.h>


#include "platform/vk_codes.h"

namespace tolvan::x11 {
namespace {

constexpr KeyCode kEvdevOffset = 8;
constexpr uint16_t E = kExtendedScan;

// {Linux key number, vk, scan}
struct Row {
  uint16_t linux_key;
  uint16_t vk;
  uint16_t scan;
};

constexpr Row kRows[] = {
    {1, vk::Escape, 0x01},
    {2, '1', 0x02}, {3, '2', 0x03}, {4, '3', 0x04}, {5, '4', 0x05}, {6, '5', 0x06},
    {7, '6', 0x07}, {8, '7', 0x08}, {9, '8', 0x09}, {10, '9', 0x0A}, {11, '0', 0x0B},
    {12, vk::OemMinus, 0x0C}, {13, vk::OemPlus, 0x0D}, {14, vk::Back, 0x0E}, {15, vk::Tab, 0x0F},
    {16, 'Q', 0x10}, {17, 'W', 0x11}, {18, 'E', 0x12}, {19, 'R', 0x13}, {20, 'T', 0x14},
    {21, 'Y', 0x15}, {22, 'U', 0x16}, {23, 'I', 0x17}, {24, 'O', 0x18}, {25, 'P', 0x19},
    {26, vk::Oem4, 0x1A}, {27, vk::Oem6, 0x1B}, {28, vk::Return, 0x1C},
    {29, vk::LControl, 0x1D},
    {30, 'A', 0x1E}, {31, 'S', 0x1F}, {32, 'D', 0x20}, {33, 'F', 0x21}, {34, 'G', 0x22},
    {35, 'H', 0x23}, {36, 'J', 0x24}, {37, 'K', 0x25}, {38, 'L', 0x26},
    {39, vk::Oem1, 0x27}, {40, vk::Oem7, 0x28}, {41, vk::Oem3, 0x29},
    {42, vk::LShift, 0x2A}, {43, vk::Oem5, 0x2B},
    {44, 'Z', 0x2C}, {45, 'X', 0x2D}, {46, 'C', 0x2E}, {47, 'V', 0x2F}, {48, 'B', 0x30},
    {49, 'N', 0x31}, {50, 'M', 0x32},
    {51, vk::OemComma, 0x33}, {52, vk::OemPeriod, 0x34}, {53, vk::Oem2, 0x35},
    {54, vk::RShift, 0x36}, {55, vk::Multiply, 0x37}, {56, vk::LMenu, 0x38},
    {57, vk::Space, 0x39}, {58, vk::Capital, 0x3A},
    {59, 0x70, 0x3B}, {60, 0x71, 0x3C}, {61, 0x72, 0x3D}, {62, 0x73, 0x3E}, {63, 0x74, 0x3F},
    {64, 0x75, 0x40}, {65, 0x76, 0x41}, {66, 0x77, 0x42}, {67, 0x78, 0x43}, {68, 0x79, 0x44},
    // Windows reports Num Lock as the extended 0x45 and Pause as the plain one.
    {69, vk::NumLock, E | 0x45}, {70, vk::Scroll, 0x46},
    {71, vk::Numpad7, 0x47}, {72, vk::Numpad8, 0x48}, {73, vk::Numpad9, 0x49},
    {74, vk::Subtract, 0x4A}, {75, vk::Numpad4, 0x4B}, {76, vk::Numpad5, 0x4C},
    {77, vk::Numpad6, 0x4D}, {78, vk::Add, 0x4E}, {79, vk::Numpad1, 0x4F},
    {80, vk::Numpad2, 0x50}, {81, vk::Numpad3, 0x51}, {82, vk::Numpad0, 0x52},
    {83, vk::Decimal, 0x53},
    {86, vk::Oem102, 0x56}, {87, 0x7A, 0x57}, {88, 0x7B, 0x58},
    {96, vk::Return, E | 0x1C},  // keypad Enter
    {97, vk::RControl, E | 0x1D}, {98, vk::Divide, E | 0x35}, {99, vk::Snapshot, E | 0x37},
    {100, vk::RMenu, E | 0x38},
    {102, vk::Home, E | 0x47}, {103, vk::Up, E | 0x48}, {104, vk::Prior, E | 0x49},
    {105, vk::Left, E | 0x4B}, {106, vk::Right, E | 0x4D}, {107, vk::End, E | 0x4F},
    {108, vk::Down, E | 0x50}, {109, vk::Next, E | 0x51}, {110, vk::Insert, E | 0x52},
    {111, vk::Delete, E | 0x53}, {119, vk::Pause, 0x45},
    {125, vk::LWin, E | 0x5B}, {126, vk::RWin, E | 0x5C}, {127, vk::Apps, E | 0x5D},
    // F13 to F24
    {183, 0x7C, 0x64}, {184, 0x7D, 0x65}, {185, 0x7E, 0x66}, {186, 0x7F, 0x67},
    {187, 0x80, 0x68}, {188, 0x81, 0x69}, {189, 0x82, 0x6A}, {190, 0x83, 0x6B},
    {191, 0x84, 0x6C}, {192, 0x85, 0x6D}, {193, 0x86, 0x6E}, {194, 0x87, 0x76},
};

KeyPosition to_position(const Row& row) {
  return KeyPosition{static_cast<KeyCode>(row.linux_key + kEvdevOffset), row.vk, row.scan};
}

uint16_t keypad_vk(KeySymbol s) {
  switch (s) {
    case XK_KP_Home: return vk::Home;
    case XK_KP_Up: return vk::Up;
    case XK_KP_Prior: return vk::Prior;
    case XK_KP_Left: return vk::Left;
    case XK_KP_Begin: return vk::Clear;
    case XK_KP_Right: return vk::Right;
    case XK_KP_End: return vk::End;
    case XK_KP_Down: return vk::Down;
    case XK_KP_Next: return vk::Next;
    case XK_KP_Insert: return vk::Insert;
    case XK_KP_Delete: return vk::Delete;
    case XK_KP_Decimal: case XK_KP_Separator: return vk::Decimal;
    case XK_KP_Multiply: return vk::Multiply;
    case XK_KP_Add: return vk::Add;
    case XK_KP_Subtract: return vk::Subtract;
    case XK_KP_Divide: return vk::Divide;
    case XK_KP_Enter: return vk::Return;
    default: break;
  }
  if (s >= XK_KP_0 && s <= XK_KP_9) return static_cast<uint16_t>(vk::Numpad0 + (s - XK_KP_0));
  return 0;
}

bool is_keypad_keysym(KeySymbol s) { return s >= XK_KP_Space && s <= XK_KP_Equal; }

struct Fixed {
  uint16_t vk;
  KeySymbol keysym;
};

constexpr Fixed kFixed[] = {
    {vk::Back, XK_BackSpace}, {vk::Tab, XK_Tab}, {vk::Return, XK_Return},
    {vk::Pause, XK_Pause}, {vk::Capital, XK_Caps_Lock}, {vk::Escape, XK_Escape},
    {vk::Space, XK_space}, {vk::Prior, XK_Prior}, {vk::Next, XK_Next}, {vk::End, XK_End},
    {vk::Home, XK_Home}, {vk::Left, XK_Left}, {vk::Up, XK_Up}, {vk::Right, XK_Right},
    {vk::Down, XK_Down}, {vk::Snapshot, XK_Print}, {vk::Insert, XK_Insert},
    {vk::Delete, XK_Delete}, {vk::LWin, XK_Super_L}, {vk::RWin, XK_Super_R},
    {vk::Apps, XK_Menu}, {vk::NumLock, XK_Num_Lock}, {vk::Scroll, XK_Scroll_Lock},
    {vk::LShift, XK_Shift_L}, {vk::RShift, XK_Shift_R}, {vk::LControl, XK_Control_L},
    {vk::RControl, XK_Control_R}, {vk::LMenu, XK_Alt_L}, {vk::RMenu, XK_Alt_R},
    {vk::Shift, XK_Shift_L}, {vk::Control, XK_Control_L}, {vk::Menu, XK_Alt_L},
    {vk::Multiply, XK_KP_Multiply}, {vk::Add, XK_KP_Add}, {vk::Subtract, XK_KP_Subtract},
    {vk::Divide, XK_KP_Divide}, {vk::Decimal, XK_KP_Decimal}, {vk::Separator, XK_KP_Separator},
    {vk::Clear, XK_Clear},
};

}  // namespace

std::optional<KeyPosition> position_of_keycode(KeyCode keycode) {
  for (const Row& row : kRows)
    if (row.linux_key + kEvdevOffset == keycode) return to_position(row);
  return std::nullopt;
}

std::optional<KeyPosition> position_of_vk(uint16_t code) {
  if (code == vk::Shift) code = vk::LShift;
  else if (code == vk::Control) code = vk::LControl;
  else if (code == vk::Menu) code = vk::LMenu;
  for (const Row& row : kRows)  // the first row wins: main Return before keypad Enter
    if (row.vk == code) return to_position(row);
  return std::nullopt;
}

std::optional<KeyPosition> position_of_scan(uint16_t scan, bool extended) {
  if (extended) scan |= kExtendedScan;
  for (const Row& row : kRows)
    if (row.scan == scan) return to_position(row);
  return std::nullopt;
}

uint16_t vk_of_keysym(KeySymbol s) {
  if (s >= XK_a && s <= XK_z) return static_cast<uint16_t>('A' + (s - XK_a));
  if (s >= XK_A && s <= XK_Z) return static_cast<uint16_t>(s);
  if (s >= XK_0 && s <= XK_9) return static_cast<uint16_t>(s);
  if (s >= XK_F1 && s <= XK_F24) return static_cast<uint16_t>(vk::F1 + (s - XK_F1));
  if (uint16_t k = keypad_vk(s)) return k;
  if (s == XK_ISO_Level3_Shift || s == XK_Mode_switch) return vk::RMenu;
  if (s == XK_Meta_L) return vk::LMenu;
  if (s == XK_Meta_R) return vk::RMenu;
  for (const Fixed& f : kFixed)
    if (f.keysym == s && f.vk != vk::Shift && f.vk != vk::Control && f.vk != vk::Menu) return f.vk;
  return 0;
}

uint16_t vk_for_key(KeyCode keycode, KeySymbol base_keysym) {
  std::optional<KeyPosition> place = position_of_keycode(keycode);
  const bool letter = (base_keysym >= XK_a && base_keysym <= XK_z) ||
                      (base_keysym >= XK_A && base_keysym <= XK_Z);
  if (letter) return vk_of_keysym(base_keysym);
  if (is_keypad_keysym(base_keysym)) {
    if (uint16_t k = keypad_vk(base_keysym)) return k;
  }
  if (place) return place->vk;
  return vk_of_keysym(base_keysym);
}

KeySymbol fixed_keysym_of_vk(uint16_t code) {
  if (code >= vk::F1 && code <= vk::F24) return XK_F1 + (code - vk::F1);
  if (code >= vk::Numpad0 && code <= vk::Numpad9) return XK_KP_0 + (code - vk::Numpad0);
  for (const Fixed& f : kFixed)
    if (f.vk == code) return f.keysym;
  return 0;
}

}  // namespace tolvan::x11
