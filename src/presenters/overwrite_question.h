// Before Tolvan writes a file the user named: may an existing file there be replaced?
#pragma once

#include <string>

#include "core/prompts.h"

namespace tolvan {

// True (go ahead) when `path` is empty or nothing exists there; otherwise the warning
// "<path> already exists. Do you want to replace it?" and the user's answer.
bool ui_ask_overwrite_if_necessary(Prompts& prompts, const std::string& path);

}  // namespace tolvan
