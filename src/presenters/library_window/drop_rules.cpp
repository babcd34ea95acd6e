#include "presenters/library_window/drop_rules.h"

namespace tolvan {
namespace {

bool is_within(const Folder* folder, const Folder& ancestor) {
  for (; folder; folder = folder->parent) {
    if (folder == &ancestor) return true;
  }
  return false;
}

}  // namespace

DropDecision abbreviation_drop(const Abbreviation& dragged, Folder* target) {
  if (!target) return {};
  return {true, target, target != dragged.folder};
}

DropDecision folder_drop(const Folder& dragged, Folder* target, Folder& absolute_parent) {
  // The All row stays where it is.
  if (!dragged.parent) return {};
  if (!target) {
    const bool two_levels_down = dragged.parent->parent != nullptr;
    return two_levels_down ? DropDecision{true, &absolute_parent, true} : DropDecision{};
  }
  if (is_within(target, dragged) || target == dragged.parent) return {};
  return {true, target, true};
}

}  // namespace tolvan
