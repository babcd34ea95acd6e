// PendingChanges: the main window's unapplied edits, as other windows see them. Its Apply
// button is sensitive while there are any; applying them saves the library and makes a
// backup.
#pragma once

namespace tolvan {

class PendingChanges {
 public:
  virtual ~PendingChanges() = default;
  virtual bool has_unapplied_changes() const = 0;
  // Applies them as the Apply button does; false when that failed.
  virtual bool apply_changes() = 0;
};

}  // namespace tolvan
