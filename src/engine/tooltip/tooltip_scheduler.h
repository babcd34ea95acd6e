// TooltipScheduler: how matching asks for the preview of a waiting abbreviation. The tooltip
// window implements it; matching only decides when.
#pragma once

#include "engine/matching/abbrev_match.h"

namespace tolvan {

class TooltipScheduler {
 public:
  virtual ~TooltipScheduler() = default;
  virtual void hide() = 0;
  virtual void schedule(const AbbrevMatch& match) = 0;  // show after 20 ms, hide after 3020
};

}  // namespace tolvan
