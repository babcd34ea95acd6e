// The caret-moving keys of interactive input.
#include "engine/output/interactive_input_state.h"

#include "platform/vk_codes.h"

namespace tolvan {

bool mon_vk_will_unselect_selected_text(unsigned vk) {
  switch (vk) {
    case vk::Left: case vk::Right: case vk::Up: case vk::Down:
    case vk::Home: case vk::End: case vk::Next: case vk::Prior:
      return true;
    default:
      return false;
  }
}

}  // namespace tolvan
