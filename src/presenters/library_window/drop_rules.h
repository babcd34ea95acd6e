// What a drop onto the folder tree does: an abbreviation moves into the folder it is dropped
// on; a folder moves under the folder it is dropped on, or to the top level when dropped on
// empty space from at least two levels down. Drops that would change nothing or break the
// tree are refused.
#pragma once

#include "library/model.h"

namespace tolvan {

struct DropDecision {
  bool accepted = false;
  Folder* target = nullptr;  // the folder that receives the dropped record
  bool moves = false;        // the record changes folder (and the library is changed)
};

// `target` is the folder of the row dropped on (a drop before or after a row counts as into
// it); nullptr for empty space, which takes no abbreviation.
DropDecision abbreviation_drop(const Abbreviation& dragged, Folder* target);

// `absolute_parent` is the All row's folder, the target of a drop on empty space.
DropDecision folder_drop(const Folder& dragged, Folder* target, Folder& absolute_parent);

}  // namespace tolvan
