// The tolvan program: the real desktop, then the application's start sequence.
#include <iostream>

#include "app/application.h"
#include "platform/x11/xdg_folders.h"

int main(int argc, char** argv) {
  tolvan::XdgFolders folders;
  tolvan::Application app(folders);
  return app.run({argv, argv + argc}, std::cout, std::cerr);
}
