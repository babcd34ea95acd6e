// tolvan: the text expander on the desktop, with its tray icon.
#include <glib.h>

#include "ui/desktop_program.h"

int main(int argc, char** argv) {
  // Progress messages (G_MESSAGES_DEBUG=Tolvan) go with the errors, not to standard output.
  g_log_writer_default_set_use_stderr(TRUE);
  tolvan::ui::DesktopProgram program;
  return program.run({argv, argv + argc});
}
