// Reading the small window properties the window manager and applications set.
#pragma once

struct _XDisplay;

namespace tolvan::x11 {

// The one 32-bit value of a window's property (a window, a cardinal); 0 when it has none.
unsigned long property_value(_XDisplay* display, unsigned long window, unsigned long property,
                             unsigned long type);

}  // namespace tolvan::x11
