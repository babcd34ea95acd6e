#include <X11/Xlib.h>
#include <X11/keysym.h>
#undef Status

#include "platform/x11/x11_grab_masks.h"

namespace tolvan::x11 {

std::array<unsigned, 4> lock_variants(unsigned modifiers, unsigned num) {
  return {modifiers, modifiers | LockMask, modifiers | num, modifiers | LockMask | num};
}

unsigned num_lock_mask(Display* display) {
  unsigned mask = Mod2Mask;
  XModifierKeymap* map = XGetModifierMapping(display);
  const ::KeyCode num = XKeysymToKeycode(display, XK_Num_Lock);
  for (int mod = 0; map && num != 0 && mod < 8; ++mod)
    for (int k = 0; k < map->max_keypermod; ++k)
      if (map->modifiermap[mod * map->max_keypermod + k] == num) mask = 1u << mod;
  if (map) XFreeModifiermap(map);
  return mask;
}

}  // namespace tolvan::x11
