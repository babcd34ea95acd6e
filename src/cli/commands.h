// The command groups of tolvan-cli, one file each.
#pragma once

#include <span>

#include "cli/cli.h"

namespace tolvan::cli {

std::span<const CommandEntry> command_table();

}  // namespace tolvan::cli
