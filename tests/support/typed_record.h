// The record the hook thread hands to the output thread for a text abbreviation the user
// typed, for tests, fuzz targets and benchmarks of the output thread.
#pragma once

#include <memory>
#include <string>

#include "engine/typed_abbrev_info.h"

namespace tolvan::testing {

inline std::unique_ptr<TypedAbbrevInfo> typed_record(const std::string& typed,
                                                     const std::string& expansion,
                                                     WindowId window,
                                                     int case_mode = CASE_ADAPT,
                                                     int trigger_mode = TRIGGER_IMMEDIATELY) {
  auto record = std::make_unique<TypedAbbrevInfo>();
  record->abbreviation = std::make_unique<Abbreviation>();
  record->abbreviation->abbreviations = {typed};
  record->abbreviation->expansion() = expansion;
  record->abbreviation->case_mode = case_mode;
  record->abbreviation->trigger_mode = trigger_mode;
  record->typed = typed;
  record->window = window;
  return record;
}

}  // namespace tolvan::testing
