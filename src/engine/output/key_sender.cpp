// Scan codes, single key events and key-macro actions of the output thread.
#include "engine/output/key_sender.h"

#include <array>
#include <utility>

#include "platform/vk_codes.h"

namespace tolvan {
namespace {

// Keys whose scan code does not depend on the layout, or that a layout lookup would give
// without the right-hand or keypad distinction.
constexpr std::array<std::pair<uint16_t, uint16_t>, 24> kVkToScan = {{
    {vk::LControl, 0x1D}, {vk::RControl, 0x11D}, {vk::LMenu, 0x38},  {vk::RMenu, 0x138},
    {vk::LShift, 0x2A},   {vk::RShift, 0x136},   {vk::LWin, 0x15B},  {vk::RWin, 0x15C},
    {vk::Decimal, 0x53},  {vk::NumLock, 0x145},  {vk::Divide, 0x135}, {vk::Multiply, 0x37},
    {vk::Subtract, 0x4A}, {vk::Add, 0x4E},       {vk::Numpad0, 0x52}, {vk::Numpad1, 0x4F},
    {vk::Numpad2, 0x50},  {vk::Numpad3, 0x51},   {vk::Numpad4, 0x4B}, {vk::Numpad5, 0x4C},
    {vk::Numpad6, 0x4D},  {vk::Numpad7, 0x47},   {vk::Numpad8, 0x48}, {vk::Numpad9, 0x49},
}};

void note_held(int code, bool pressed, HeldModifiers& held) {
  switch (code) {
    case vk::Control: case vk::LControl: case vk::RControl: held.ctrl = pressed; break;
    case vk::Menu: case vk::LMenu: held.alt = pressed; break;
    case vk::RMenu: held.altgr = pressed; break;
    case vk::Shift: case vk::LShift: case vk::RShift: held.shift = pressed; break;
    default: break;
  }
}

}  // namespace

ShiftCtrlAlt get_ctrl_alt_shift_state_from_VkKeyScan_code(int code) {
  ShiftCtrlAlt state;
  if (code == -1) return state;
  int high = (code >> 8) & 0xFF;
  state.shift = (high & 0x01) != 0;
  state.ctrl = (high & 0x08) != 0;
  return state;
}

uint32_t KeySender::map_virtual_key(uint32_t code, MapType type) const {
  for (const auto& [key, scan] : kVkToScan)
    if (key == code) return scan;
  WindowId foreground = platform_.windows->foreground();
  LayoutId layout = platform_.keyboard->layout_of(foreground);
  return platform_.keyboard->map_virtual_key(code, type, layout);
}

void KeySender::keybd_event(uint16_t vk, uint32_t flags) const {
  keybd_event(vk, map_virtual_key(vk), flags);
}

void KeySender::keybd_event(uint16_t vk, uint32_t scan, uint32_t flags) const {
  platform_.input->send_key(vk, static_cast<uint16_t>(scan & 0xFF), flags);
}

void KeySender::tap(uint16_t vk, uint32_t flags) const { tap(vk, map_virtual_key(vk), flags); }

void KeySender::tap(uint16_t vk, uint32_t scan, uint32_t flags) const {
  keybd_event(vk, scan, flags);
  keybd_event(vk, scan, flags | kKeyUp);
}

void KeySender::handle_key_presses(const KeyActionGroup& group, HeldModifiers& held) const {
  for (int i = 0; i < group.repeat; ++i) {
    for (const KeyAction& action : group.actions) {
      auto code = static_cast<uint16_t>(action.vk);
      uint32_t flags = action.extended ? kKeyExtended : 0;
      if (action.action != KeyActionKind::kRelease) keybd_event(code, flags);
      if (action.action != KeyActionKind::kPress) keybd_event(code, flags | kKeyUp);
      note_held(action.vk, action.action == KeyActionKind::kPress, held);
    }
  }
}

}  // namespace tolvan
