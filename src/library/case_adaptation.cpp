// Case adaptation of expansions, with Unicode character classes.
#include "library/case_adaptation.h"

#include "core/utf.h"

namespace tolvan {

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
    std::optional<Utf8Char> c = utf8_char_at(typed, pos);
    if (!c) continue;
    if (unichar_isalnum(c->value)) {
      first_is_upper = unichar_isupper(c->value);
      break;
    }
  }

  size_t decoded = 0, letters = 0;
  bool all_upper = true;
  for (size_t pos = 0; pos < typed.size(); ++pos) {
    std::optional<Utf8Char> c = utf8_char_at(typed, pos);
    if (!c) continue;
    ++decoded;
    if (unichar_isdigit(c->value) && letters == 0) {
      all_upper = false;
      break;
    }
    if (unichar_isalpha(c->value)) {
      ++letters;
      if (!unichar_isupper(c->value)) {
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
