// The modifier masks of passive key grabs: a grab names exact modifiers, so one that must
// hold whatever Caps Lock and Num Lock are is made once for every combination of them.
#pragma once

#include <array>

struct _XDisplay;

namespace tolvan::x11 {

// The wanted modifiers with every combination of Lock and the Num Lock modifier.
std::array<unsigned, 4> lock_variants(unsigned modifiers, unsigned num_lock_mask);
// The modifier bit the server's Num Lock key sets (Mod2 when it cannot be told).
unsigned num_lock_mask(_XDisplay* display);

}  // namespace tolvan::x11
