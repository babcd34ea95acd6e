#include <X11/Xlib.h>
#undef Status

#include "platform/x11/x11_property.h"

namespace tolvan::x11 {

unsigned long property_value(Display* display, Window window, Atom property, Atom type) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  unsigned long value = 0;
  if (XGetWindowProperty(display, window, property, 0, 1, False, type, &actual, &format, &count, &after,
                         &data) == Success &&
      data && count == 1 && format == 32)
    value = *reinterpret_cast<unsigned long*>(data);
  if (data) XFree(data);
  return value;
}

}  // namespace tolvan::x11
