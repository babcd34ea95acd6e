// The simulated layouts: US, US-International (dead ' " ` ~ ^ and AltGr) and German (AltGr,
// dead ^ ´ `), with the characters each key types and the compositions of their dead keys.
#include <array>

#include "platform/sim/layout.h"
#include "platform/vk_codes.h"

namespace tolvan::sim {
namespace {

constexpr uint8_t kDeadPlain = 1 << kPlain;
constexpr uint8_t kDeadShifted = 1 << kShifted;

KeyDef key(uint16_t vk, uint16_t scan, char16_t plain, char16_t shifted, char16_t altgr = 0,
           char16_t shift_altgr = 0, uint8_t dead = 0) {
  KeyDef def;
  def.vk = vk;
  def.scan = scan;
  def.chars[kPlain] = plain;
  def.chars[kShifted] = shifted;
  def.chars[kAltGr] = altgr;
  def.chars[kShiftAltGr] = shift_altgr;
  def.dead = dead;
  return def;
}

// A letter key: Caps Lock acts on it.
KeyDef letter(char lower, uint16_t scan, char16_t altgr = 0, char16_t shift_altgr = 0) {
  char upper = static_cast<char>(lower - 'a' + 'A');
  KeyDef def = key(static_cast<uint16_t>(upper), scan, static_cast<char16_t>(lower),
                   static_cast<char16_t>(upper), altgr, shift_altgr);
  def.caps = true;
  return def;
}

// The letters of one row of keys, left to right from the scan code `first`.
void add_letters(std::vector<KeyDef>& keys, std::string_view row, uint16_t first) {
  for (size_t i = 0; i < row.size(); ++i)
    keys.push_back(letter(row[i], static_cast<uint16_t>(first + i)));
}

void add_digits(std::vector<KeyDef>& keys, std::u16string_view shifted) {
  for (int i = 0; i < 10; ++i) {
    char16_t digit = static_cast<char16_t>(i == 9 ? u'0' : u'1' + i);
    keys.push_back(key(static_cast<uint16_t>(digit), static_cast<uint16_t>(0x02 + i), digit,
                       shifted[i]));
  }
}

KeyDef* find(std::vector<KeyDef>& keys, uint16_t vk) {
  for (auto& def : keys)
    if (def.vk == vk) return &def;
  return nullptr;
}

void set_altgr(std::vector<KeyDef>& keys, uint16_t vk, char16_t altgr, char16_t shift_altgr = 0) {
  KeyDef* def = find(keys, vk);
  def->chars[kAltGr] = altgr;
  def->chars[kShiftAltGr] = shift_altgr;
}

// Compositions of one dead character: pairs of base and result, lower and upper case.
void compose(std::vector<Composition>& table, char16_t dead, std::u16string_view pairs) {
  table.push_back({dead, u' ', dead});
  for (size_t i = 0; i + 1 < pairs.size(); i += 2) table.push_back({dead, pairs[i], pairs[i + 1]});
}

std::vector<KeyDef> us_keys() {
  std::vector<KeyDef> keys;
  add_digits(keys, u"!@#$%^&*()");
  keys.push_back(key(vk::OemMinus, 0x0C, u'-', u'_'));
  keys.push_back(key(vk::OemPlus, 0x0D, u'=', u'+'));
  add_letters(keys, "qwertyuiop", 0x10);
  keys.push_back(key(vk::Oem4, 0x1A, u'[', u'{'));
  keys.push_back(key(vk::Oem6, 0x1B, u']', u'}'));
  add_letters(keys, "asdfghjkl", 0x1E);
  keys.push_back(key(vk::Oem1, 0x27, u';', u':'));
  keys.push_back(key(vk::Oem7, 0x28, u'\'', u'"'));
  keys.push_back(key(vk::Oem3, 0x29, u'`', u'~'));
  keys.push_back(key(vk::Oem5, 0x2B, u'\\', u'|'));
  add_letters(keys, "zxcvbnm", 0x2C);
  keys.push_back(key(vk::OemComma, 0x33, u',', u'<'));
  keys.push_back(key(vk::OemPeriod, 0x34, u'.', u'>'));
  keys.push_back(key(vk::Oem2, 0x35, u'/', u'?'));
  keys.push_back(key(vk::Oem102, 0x56, u'\\', u'|'));
  return keys;
}

Layout make_us() {
  Layout layout;
  layout.name = "us";
  layout.id = 0x04090409;
  layout.keys = us_keys();
  return layout;
}

Layout make_us_international() {
  Layout layout;
  layout.name = "us-intl";
  layout.id = 0xF0010409;
  layout.has_altgr = true;
  auto& keys = layout.keys = us_keys();
  find(keys, vk::Oem7)->dead = kDeadPlain | kDeadShifted;  // ' "
  find(keys, vk::Oem3)->dead = kDeadPlain | kDeadShifted;  // ` ~
  find(keys, '6')->dead = kDeadShifted;                    // ^
  const std::array<std::array<char16_t, 3>, 34> altgr = {{
      {'1', u'¡', u'¹'}, {'2', u'²', 0},   {'3', u'³', 0},   {'4', u'¤', u'£'},
      {'5', u'€', 0},    {'6', u'¼', 0},   {'7', u'½', 0},   {'8', u'¾', 0},
      {'9', u'‘', 0},    {'0', u'’', 0},   {vk::OemMinus, u'¥', 0},
      {vk::OemPlus, u'×', u'÷'}, {'Q', u'ä', u'Ä'}, {'W', u'å', u'Å'}, {'E', u'é', u'É'},
      {'R', u'®', 0},    {'T', u'þ', u'Þ'}, {'Y', u'ü', u'Ü'}, {'U', u'ú', u'Ú'},
      {'I', u'í', u'Í'}, {'O', u'ó', u'Ó'}, {'P', u'ö', u'Ö'}, {vk::Oem4, u'«', 0},
      {vk::Oem6, u'»', 0}, {'A', u'á', u'Á'}, {'S', u'ß', u'§'}, {'D', u'ð', u'Ð'},
      {'L', u'ø', u'Ø'}, {vk::Oem1, u'¶', u'°'}, {vk::Oem7, u'´', u'¨'}, {'Z', u'æ', u'Æ'},
      {'C', u'©', u'¢'}, {'N', u'ñ', u'Ñ'}, {vk::OemComma, u'ç', u'Ç'},
  }};
  for (const auto& row : altgr) set_altgr(keys, row[0], row[1], row[2]);
  set_altgr(keys, 'M', u'µ');
  set_altgr(keys, vk::Oem2, u'¿');
  set_altgr(keys, vk::Oem5, u'¬', u'¦');
  auto& table = layout.compositions;
  compose(table, u'\'', u"aáeéiíoóuúyýcçAÁEÉIÍOÓUÚYÝCÇ");
  compose(table, u'"', u"aäeëiïoöuüyÿAÄEËIÏOÖUÜ");
  compose(table, u'`', u"aàeèiìoòuùAÀEÈIÌOÒUÙ");
  compose(table, u'~', u"aãoõnñAÃOÕNÑ");
  compose(table, u'^', u"aâeêiîoôuûAÂEÊIÎOÔUÛ");
  return layout;
}

Layout make_german() {
  Layout layout;
  layout.name = "de";
  layout.id = 0x04070407;
  layout.has_altgr = true;
  layout.numpad_decimal = u',';
  auto& keys = layout.keys;
  keys.push_back(key(vk::Oem5, 0x29, u'^', u'°', 0, 0, kDeadPlain));
  add_digits(keys, u"!\"§$%&/()=");
  set_altgr(keys, '2', u'²');
  set_altgr(keys, '3', u'³');
  set_altgr(keys, '7', u'{');
  set_altgr(keys, '8', u'[');
  set_altgr(keys, '9', u']');
  set_altgr(keys, '0', u'}');
  keys.push_back(key(vk::Oem4, 0x0C, u'ß', u'?', u'\\'));
  keys.push_back(key(vk::Oem6, 0x0D, u'´', u'`', 0, 0, kDeadPlain | kDeadShifted));
  add_letters(keys, "qwertzuiop", 0x10);
  KeyDef umlaut_u = letter('a', 0x1A);
  umlaut_u.vk = vk::Oem1;
  umlaut_u.chars[kPlain] = u'ü';
  umlaut_u.chars[kShifted] = u'Ü';
  keys.push_back(umlaut_u);
  keys.push_back(key(vk::OemPlus, 0x1B, u'+', u'*', u'~'));
  add_letters(keys, "asdfghjkl", 0x1E);
  KeyDef umlaut_o = umlaut_u;
  umlaut_o.vk = vk::Oem3;
  umlaut_o.scan = 0x27;
  umlaut_o.chars[kPlain] = u'ö';
  umlaut_o.chars[kShifted] = u'Ö';
  keys.push_back(umlaut_o);
  KeyDef umlaut_a = umlaut_u;
  umlaut_a.vk = vk::Oem7;
  umlaut_a.scan = 0x28;
  umlaut_a.chars[kPlain] = u'ä';
  umlaut_a.chars[kShifted] = u'Ä';
  keys.push_back(umlaut_a);
  keys.push_back(key(vk::Oem2, 0x2B, u'#', u'\''));
  keys.push_back(key(vk::Oem102, 0x56, u'<', u'>', u'|'));
  add_letters(keys, "yxcvbnm", 0x2C);
  keys.push_back(key(vk::OemComma, 0x33, u',', u';'));
  keys.push_back(key(vk::OemPeriod, 0x34, u'.', u':'));
  keys.push_back(key(vk::OemMinus, 0x35, u'-', u'_'));
  set_altgr(keys, 'Q', u'@');
  set_altgr(keys, 'E', u'€');
  set_altgr(keys, 'M', u'µ');
  auto& table = layout.compositions;
  compose(table, u'^', u"aâeêiîoôuûAÂEÊIÎOÔUÛ");
  compose(table, u'´', u"aáeéiíoóuúyýAÁEÉIÍOÓUÚYÝ");
  compose(table, u'`', u"aàeèiìoòuùAÀEÈIÌOÒUÙ");
  return layout;
}

}  // namespace

const Layout& us_layout() {
  static const Layout layout = make_us();
  return layout;
}
const Layout& us_international_layout() {
  static const Layout layout = make_us_international();
  return layout;
}
const Layout& german_layout() {
  static const Layout layout = make_german();
  return layout;
}

const Layout* layout_by_name(std::string_view name) {
  for (const Layout* layout : {&us_layout(), &us_international_layout(), &german_layout()})
    if (layout->name == name) return layout;
  return nullptr;
}

const Layout* layout_by_id(LayoutId id) {
  for (const Layout* layout : {&us_layout(), &us_international_layout(), &german_layout()})
    if (layout->id == id) return layout;
  return nullptr;
}

}  // namespace tolvan::sim
