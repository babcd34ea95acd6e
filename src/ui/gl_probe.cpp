#include "ui/gl_probe.h"

#include <gtk/gtk.h>

#include <cstdlib>

namespace tolvan::ui {

void skip_gl_probe() {
  if (std::getenv("GDK_GL")) return;
  // GTK reads GDK_GL only while it parses its options, which it does once: the setting
  // lasts only for that parse.
  setenv("GDK_GL", "disable", 1);
  int argc = 0;
  char** argv = nullptr;
  gtk_parse_args(&argc, &argv);
  unsetenv("GDK_GL");
}

}  // namespace tolvan::ui
