// Autostart: starting Tolvan when the user logs in.
#pragma once

#include <string>

#include "core/result.h"

namespace tolvan {

class Autostart {
 public:
  virtual ~Autostart() = default;

  // True when a start-at-login entry exists and can be read.
  virtual bool is_enabled() const = 0;
  // Creates or replaces the entry: run `executable` followed by `arguments` (already in
  // command-line form, such as " --systray").
  virtual Status enable(const std::string& executable, const std::string& arguments) = 0;
  // Removes the entry; removing an entry that does not exist succeeds.
  virtual Status disable() = 0;
};

}  // namespace tolvan
