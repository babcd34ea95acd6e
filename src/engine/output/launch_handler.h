// LaunchHandler: where the output thread hands program and website launchers. The output
// thread does not know how a launcher starts anything; it only knows when.
#pragma once

#include "library/model.h"

namespace tolvan {

class LaunchHandler {
 public:
  virtual ~LaunchHandler() = default;
  // Called on the output thread with the launcher abbreviation that was typed.
  virtual void launch(const Abbreviation& abbreviation) = 0;
};

}  // namespace tolvan
