// Abbreviation types and the repair rules of the modes.
#include "library/model.h"

namespace tolvan {

void Abbreviation::set_type(AbbrType type) {
  if (type == this->type()) return;
  switch (type) {
    case ABBR_TYPE_TEXT: data.emplace<std::string>(); break;
    case ABBR_TYPE_PROGRAM: data.emplace<Boxed<ProgInfo>>(); break;
    case ABBR_TYPE_WEBSITE: data.emplace<Boxed<WebsiteInfo>>(); break;
    default: data.emplace<UnsupportedSnippet>(); break;
  }
}

bool abbr_is_launcher(const Abbreviation& abbrev) {
  return abbrev.type() == ABBR_TYPE_PROGRAM || abbrev.type() == ABBR_TYPE_WEBSITE;
}

void abbr_repair_modes(Abbreviation& abbrev, const ModeDefaults& defaults) {
  if (abbrev.case_mode < CASE_SENSITIVE || abbrev.case_mode > CASE_ADAPT) {
    abbrev.case_mode = defaults.case_mode;
  }
  if (abbrev.trigger_mode < TRIGGER_IMMEDIATELY || abbrev.trigger_mode > TRIGGER_WORD_ENDING) {
    abbrev.trigger_mode = defaults.trigger_mode;
  }
  if (abbr_is_launcher(abbrev) && abbrev.case_mode == CASE_ADAPT) {
    abbrev.case_mode = CASE_INSENSITIVE;
  }
  if (abbrev.type() == ABBR_TYPE_PROGRAM && abbrev.program().show_mode > 2) {
    abbrev.program().show_mode = 0;
  }
}

}  // namespace tolvan
