#include "import/te_modes.h"

namespace tolvan {

int te_abbrev_mode_to_case_mode(int te_mode, const ModeDefaults& defaults) {
  return te_mode >= 0 && te_mode <= 2 ? te_mode : defaults.case_mode;
}

int te_expansion_mode_to_trigger_mode(int te_mode, const ModeDefaults& defaults) {
  switch (te_mode) {
    case 0: return TRIGGER_IMMEDIATELY;
    case 1: return TRIGGER_WORD_ENDING;
    case 2: return TRIGGER_KEY;
    default: return defaults.trigger_mode;
  }
}

int tolvan_case_mode_to_te_abbrev_mode(int case_mode, const ModeDefaults& defaults) {
  if (case_mode >= CASE_SENSITIVE && case_mode <= CASE_ADAPT) return case_mode;
  return defaults.case_mode;
}

int tolvan_trigger_mode_to_te_exp_mode(int trigger_mode) {
  switch (trigger_mode) {
    case TRIGGER_WORD_ENDING: return 1;
    case TRIGGER_KEY: return 2;
    default: return 0;
  }
}

}  // namespace tolvan
