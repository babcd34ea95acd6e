// Case adaptation of expansions, with GLib's Unicode character classes.
#include "library/case_adaptation.h"

#include <glib.h>

#include <memory>

namespace tolvan {
namespace {

// Decodes the character starting at byte `pos`; false when no valid character starts there.
bool decode_at(std::string_view s, size_t pos, gunichar& out) {
  gunichar c = g_utf8_get_char_validated(s.data() + pos, static_cast<gssize>(s.size() - pos));
  if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) return false;
  out = c;
  return true;
}

std::string utf8_upper(std::string_view s) {
  std::unique_ptr<gchar, decltype(&g_free)> valid(
      g_utf8_make_valid(s.data(), static_cast<gssize>(s.size())), g_free);
  std::unique_ptr<gchar, decltype(&g_free)> upper(g_utf8_strup(valid.get(), -1), g_free);
  return upper.get();
}

}  // namespace

std::optional<std::string> abbr_convert_exp_to_correct_case(std::string_view expansion,
                                                            const Abbreviation& abbrev,
                                                            std::string_view typed,
                                                            bool* capitalize_first) {
  if (abbrev.type() != ABBR_TYPE_TEXT) return std::nullopt;
  if (abbrev.case_mode != CASE_ADAPT) return std::string(expansion);

  // Every byte position is tried, so positions inside a character (and invalid bytes)
  // simply fail to decode and are passed over.
  bool first_is_upper = false;
  for (size_t pos = 0; pos < typed.size(); ++pos) {
    gunichar c;
    if (!decode_at(typed, pos, c)) continue;
    if (g_unichar_isalnum(c)) {
      first_is_upper = g_unichar_isupper(c);
      break;
    }
  }

  size_t decoded = 0, letters = 0;
  bool all_upper = true;
  for (size_t pos = 0; pos < typed.size(); ++pos) {
    gunichar c;
    if (!decode_at(typed, pos, c)) continue;
    ++decoded;
    if (g_unichar_isdigit(c) && letters == 0) {
      all_upper = false;
      break;
    }
    if (g_unichar_isalpha(c)) {
      ++letters;
      if (!g_unichar_isupper(c)) {
        all_upper = false;
        break;
      }
    }
  }

  if (decoded > 0 && letters > 1 && all_upper) return utf8_upper(expansion);
  if (first_is_upper && capitalize_first != nullptr) *capitalize_first = true;
  return std::string(expansion);
}

}  // namespace tolvan
