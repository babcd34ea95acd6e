// Keeps GTK from opening the display's OpenGL driver, which Tolvan never draws with.
#pragma once

namespace tolvan::ui {

// Call before GTK starts. Unless another GTK program has already left its choice of
// visuals on the display, GTK opens the GL driver once to choose them, and the driver
// stays loaded for the life of the process: some 50 MB with a software renderer. A user
// who set GDK_GL keeps their setting, and the programs Tolvan starts later get the
// environment as it was.
void skip_gl_probe();

}  // namespace tolvan::ui
