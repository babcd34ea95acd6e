#include "ui/resources.h"

extern "C" void tolvan_register_resource(void);

namespace tolvan::ui {

void register_tolvan_resources() {
  static const bool registered = (tolvan_register_resource(), true);
  (void)registered;
}

}  // namespace tolvan::ui
