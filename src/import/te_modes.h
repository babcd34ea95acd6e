// The case and trigger modes in TextExpander's numbers and back.
#pragma once

#include "library/model.h"

namespace tolvan {

// "abbreviationMode" 0, 1, 2 -> CASE_SENSITIVE, CASE_INSENSITIVE, CASE_ADAPT; else the default.
int te_abbrev_mode_to_case_mode(int te_mode, const ModeDefaults& defaults);
// "Expander Mode" / "triggerMode" 0, 1, 2 -> immediately, word ending, trigger key; else the
// default.
int te_expansion_mode_to_trigger_mode(int te_mode, const ModeDefaults& defaults);
// The reverse: out-of-range case modes take the default case mode, trigger modes 0.
int tolvan_case_mode_to_te_abbrev_mode(int case_mode, const ModeDefaults& defaults);
int tolvan_trigger_mode_to_te_exp_mode(int trigger_mode);

}  // namespace tolvan
