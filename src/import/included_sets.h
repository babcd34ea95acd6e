// The abbreviation sets installed with Tolvan (<installation_dir>/sets/<name>.tlv): imported
// into the sandbox on request, and "Examples" on the very first start.
#pragma once

#include <functional>
#include <string>

#include "core/prompts.h"
#include "library/library.h"
#include "settings/gvar.h"

namespace tolvan {

inline constexpr const char* kExamplesSet = "Examples";

// <installation_dir>/sets/<name>.tlv
std::string included_set_path(const RunTimeVariables& gvar, const std::string& name);

// import_included_set: loads the set and adds it under the sandbox's absolute parent (no
// import mode is asked); a root without a name takes the set's name. A missing file is
// reported unless `quiet`; a file that does not load always is. `added` (the main window
// showing the new folder) runs after a successful import. Answers whether it was added.
bool import_included_set(Library& library, const RunTimeVariables& gvar, Prompts& prompts,
                         const std::string& name, bool quiet,
                         const std::function<void(Folder&)>& added = {});

}  // namespace tolvan
