// LaunchHandler: where the output thread hands program and website launchers. The output
// thread does not know how a launcher starts anything; it only knows when.
#pragma once

#include "library/model.h"
#include "platform/windows.h"

namespace tolvan {

class LaunchHandler {
 public:
  virtual ~LaunchHandler() = default;
  // Called on the output thread with the launcher abbreviation that was typed into `window`.
  virtual void launch(const Abbreviation& abbreviation, WindowId window) = 0;
};

}  // namespace tolvan
