// Conversion between Tolvan's macros and TextExpander's %-codes, both ways: the fixed codes
// and the open-ended ones (%fill:name%, %@+3D), each kind a table of its own.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/strings.h"

namespace tolvan {

struct TeMacroConversion {
  std::string_view te;
  std::string_view own;
  bool match_case;  // whether the TextExpander code is compared with case
};

// An open-ended code: start, inner text, end on both sides. Date-math rows only match
// start, optional whitespace, digits and end.
struct TeOpenEndedConversion {
  std::string_view te_start;
  std::string_view te_end;
  std::string_view own_start;
  std::string_view own_end;
  bool match_case;
  bool date_math;
};

std::span<const TeMacroConversion> te_macro_conv_table();           // 33 rows
std::span<const TeOpenEndedConversion> te_oe_macro_conv_table();    // 19 rows

enum class TeDirection { kToTolvan = 1, kToTextExpander = 0 };

// TextExpander codes to own macros: the later fill-ins, fixed codes (unless escaped by an
// odd run of "%"), escaped codes unescaped, then the open-ended codes.
std::string te_macros_to_tolvan_macros(std::string_view text);

// Own macros to TextExpander codes; where two rows share an own macro the first wins.
std::string tolvan_macros_to_te_macros(std::string_view text);

// The open-ended rows applied in one direction.
std::string convert_open_ended_macros_from_to_te(std::string_view text, TeDirection direction);

// "%filltext:...%", "%fillarea:...%", "%fillpopup:...%", "%fillpart:...%" to "%(Input
// DEFAULT)" (or "%(Input)" without a default), "%fillpartend%" to nothing. One way only:
// TextExpander's files keep their codes, which Tolvan converts each time it expands.
std::string te_convert_later_fill_ins(std::string_view text);

// convert_open_ended_macros_from_to_te towards own macros.
std::string te_convert_fill(std::string_view text);

// Every occurrence of `start`, optional whitespace, at least one digit and `end`.
std::vector<ExtractedSpan> date_math_string_extract(std::string_view text, std::string_view start,
                                                    std::string_view end, bool match_case);

}  // namespace tolvan
