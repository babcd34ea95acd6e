#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
  return tolvan::cli::cli_main({argv + 1, argv + argc}, std::cout, std::cerr);
}
