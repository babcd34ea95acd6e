// Windows' translation rules over a simulated layout: key events to text with the dead-key
// state, characters to keys, and code conversions.
#include "platform/sim/layout.h"

#include "platform/vk_codes.h"

namespace tolvan::sim {

const KeyDef* Layout::key_by_vk(uint16_t code) const {
  for (const auto& def : keys)
    if (def.vk == code) return &def;
  return nullptr;
}

const KeyDef* Layout::key_by_scan(uint16_t scan) const {
  for (const auto& def : keys)
    if (def.scan == scan) return &def;
  return nullptr;
}

namespace {

struct FixedKey {
  uint16_t vk;
  uint16_t scan;
};

// Keys whose position and code are the same on every layout.
constexpr FixedKey kFixedKeys[] = {
    {vk::Escape, 0x01},   {vk::Back, 0x0E},      {vk::Tab, 0x0F},       {vk::Return, 0x1C},
    {vk::LControl, 0x1D}, {vk::LShift, 0x2A},    {vk::RShift, 0x36},    {vk::Multiply, 0x37},
    {vk::LMenu, 0x38},    {vk::Space, 0x39},     {vk::Capital, 0x3A},   {vk::NumLock, 0xE045},
    {vk::Scroll, 0x46},   {vk::Numpad7, 0x47},   {vk::Numpad8, 0x48},   {vk::Numpad9, 0x49},
    {vk::Subtract, 0x4A}, {vk::Numpad4, 0x4B},   {vk::Numpad5, 0x4C},   {vk::Numpad6, 0x4D},
    {vk::Add, 0x4E},      {vk::Numpad1, 0x4F},   {vk::Numpad2, 0x50},   {vk::Numpad3, 0x51},
    {vk::Numpad0, 0x52},  {vk::Decimal, 0x53},   {vk::RControl, 0xE01D}, {vk::Divide, 0xE035},
    {vk::Snapshot, 0xE037}, {vk::RMenu, 0xE038}, {vk::Pause, 0x45},     {vk::Home, 0xE047},
    {vk::Up, 0xE048},     {vk::Prior, 0xE049},   {vk::Left, 0xE04B},    {vk::Clear, 0x4C},
    {vk::Right, 0xE04D},  {vk::End, 0xE04F},     {vk::Down, 0xE050},    {vk::Next, 0xE051},
    {vk::Insert, 0xE052}, {vk::Delete, 0xE053},  {vk::LWin, 0xE05B},    {vk::RWin, 0xE05C},
    {vk::Apps, 0xE05D},
};

bool down(const KeyStateArray& state, uint16_t code) { return state[code] & kKeyDownBit; }

// The text of keys that make the same character on every layout; 0 for none.
char16_t fixed_char(const Layout& layout, uint16_t code) {
  switch (code) {
    case vk::Back: return 0x08;
    case vk::Tab: return 0x09;
    case vk::Return: return 0x0D;
    case vk::Escape: return 0x1B;
    case vk::Space: return u' ';
    case vk::Multiply: return u'*';
    case vk::Add: return u'+';
    case vk::Subtract: return u'-';
    case vk::Divide: return u'/';
    case vk::Decimal: return layout.numpad_decimal;
    default:
      if (code >= vk::Numpad0 && code <= vk::Numpad9)
        return static_cast<char16_t>(u'0' + (code - vk::Numpad0));
      return 0;
  }
}

// What Ctrl (without Alt) with the key types: the control characters.
char16_t control_char(uint16_t code) {
  if (code >= vk::KeyA && code <= vk::KeyZ) return static_cast<char16_t>(code - 0x40);
  switch (code) {
    case vk::Back: return 0x7F;
    case vk::Return: return 0x0A;
    case vk::Escape: return 0x1B;
    case vk::Space: return u' ';
    default: return 0;
  }
}

const Composition* find_composition(const Layout& layout, char16_t dead, char16_t base) {
  for (const auto& c : layout.compositions)
    if (c.dead == dead && c.base == base) return &c;
  return nullptr;
}

// A pending dead key meets the next key's character.
int resolve_pending(const Layout& layout, DeadKeyState& dead, char16_t ch, std::u16string& out) {
  char16_t pending = dead.pending;
  dead.pending = 0;
  if (const Composition* c = find_composition(layout, pending, ch)) {
    out = std::u16string(1, c->result);
    return 1;
  }
  out = {pending, ch};
  return 2;
}

}  // namespace

uint16_t fixed_scan_code(uint16_t code) {
  for (const auto& k : kFixedKeys)
    if (k.vk == code) return k.scan;
  for (uint16_t f = 0; f < 12; ++f)
    if (code == vk::F1 + f) return static_cast<uint16_t>(f < 10 ? 0x3B + f : 0x57 + (f - 10));
  return 0;
}

uint16_t vk_from_scan(const Layout& layout, uint16_t scan) {
  if (const KeyDef* def = layout.key_by_scan(scan)) return def->vk;
  for (const auto& k : kFixedKeys)
    if (k.scan == scan) return k.vk;
  for (uint16_t f = 0; f < 12; ++f)
    if (fixed_scan_code(static_cast<uint16_t>(vk::F1 + f)) == scan)
      return static_cast<uint16_t>(vk::F1 + f);
  return 0;
}

int translate_key(const Layout& layout, DeadKeyState& dead, uint16_t code,
                  const KeyStateArray& state, std::u16string& out) {
  out.clear();
  const bool shift = down(state, vk::Shift);
  const bool ctrl = down(state, vk::Control);
  const bool alt = down(state, vk::Menu);
  const bool caps = state[vk::Capital] & kKeyToggledBit;
  if (ctrl && alt && !layout.has_altgr) return 0;
  const bool altgr = ctrl && alt;

  char16_t ch = 0;
  bool is_dead = false;
  if (ctrl && !alt) {
    ch = control_char(code);
  } else if (char16_t fixed = fixed_char(layout, code)) {
    ch = fixed;
  } else if (const KeyDef* def = layout.key_by_vk(code)) {
    bool shifted = shift;
    if (def->caps && caps && !altgr) shifted = !shifted;
    int level = (altgr ? kAltGr : kPlain) + (shifted ? 1 : 0);
    ch = def->chars[level];
    is_dead = def->is_dead(level);
  }
  if (ch == 0) return 0;

  if (is_dead) {
    if (dead.pending) return resolve_pending(layout, dead, ch, out);
    dead.pending = ch;
    out = std::u16string(1, ch);
    return -1;
  }
  if (dead.pending) return resolve_pending(layout, dead, ch, out);
  out = std::u16string(1, ch);
  return 1;
}

int16_t scan_char(const Layout& layout, char16_t ch) {
  switch (ch) {
    case 0x08: return vk::Back;
    case 0x09: return vk::Tab;
    case 0x0D: return vk::Return;
    case 0x0A: return static_cast<int16_t>((kScanCtrl << 8) | vk::Return);
    case 0x1B: return vk::Escape;
    case u' ': return vk::Space;
    default: break;
  }
  constexpr int kLevelModifiers[4] = {0, kScanShift, kScanCtrl | kScanAlt,
                                      kScanShift | kScanCtrl | kScanAlt};
  for (int level = kPlain; level <= kShiftAltGr; ++level) {
    if (level >= kAltGr && !layout.has_altgr) break;
    for (const auto& def : layout.keys)
      if (def.chars[level] == ch) return static_cast<int16_t>((kLevelModifiers[level] << 8) | def.vk);
  }
  if (ch >= 1 && ch <= 26) return static_cast<int16_t>((kScanCtrl << 8) | (vk::KeyA + ch - 1));
  return -1;
}

bool scan_is_dead(const Layout& layout, int16_t key_scan) {
  if (key_scan == -1) return false;
  const int modifiers = (key_scan >> 8) & 0xFF;
  const bool altgr = (modifiers & (kScanCtrl | kScanAlt)) == (kScanCtrl | kScanAlt);
  // Ctrl or Alt alone make control characters and commands, never an accent.
  if (!altgr && (modifiers & (kScanCtrl | kScanAlt))) return false;
  const KeyDef* def = layout.key_by_vk(static_cast<uint16_t>(key_scan & 0xFF));
  if (!def) return false;
  const int level = (altgr ? kAltGr : kPlain) + ((modifiers & kScanShift) ? 1 : 0);
  return def->is_dead(level);
}

uint32_t map_key(const Layout& layout, uint32_t code, MapType type) {
  switch (type) {
    case MapType::VkToScan:
    case MapType::VkToScanEx: {
      // Only the key counts: a vk_key_scan result passed whole maps like its low byte.
      uint16_t key = static_cast<uint16_t>(code & 0xFF);
      if (key == vk::Shift) key = vk::LShift;
      if (key == vk::Control) key = vk::LControl;
      if (key == vk::Menu) key = vk::LMenu;
      uint16_t scan = 0;
      if (const KeyDef* def = layout.key_by_vk(key)) scan = def->scan;
      else scan = fixed_scan_code(key);
      return type == MapType::VkToScan ? (scan & 0xFF) : scan;
    }
    case MapType::ScanToVk:
    case MapType::ScanToVkEx: {
      uint16_t key = vk_from_scan(layout, static_cast<uint16_t>(code));
      if (type == MapType::ScanToVk) {
        if (vk::is_shift(key)) return vk::Shift;
        if (vk::is_control(key)) return vk::Control;
        if (vk::is_alt(key)) return vk::Menu;
      }
      return key;
    }
    case MapType::VkToChar: {
      uint16_t key = static_cast<uint16_t>(code);
      if (char16_t fixed = fixed_char(layout, key)) return fixed;
      const KeyDef* def = layout.key_by_vk(key);
      if (!def || !def->chars[kPlain]) return 0;
      char16_t ch = def->caps && def->chars[kPlain] < 0x80 ? def->chars[kShifted] : def->chars[kPlain];
      return ch | (def->is_dead(kPlain) ? 0x80000000u : 0u);
    }
  }
  return 0;
}

}  // namespace tolvan::sim
