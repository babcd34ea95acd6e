#include "import/included_sets.h"

#include "core/paths.h"
#include "library/abbrev_reader.h"
#include "library/folder_tree.h"

namespace tolvan {

std::string included_set_path(const RunTimeVariables& gvar, const std::string& name) {
  return path_join(path_join(gvar.get("installation_dir"), "sets"), name + ".tlv");
}

bool import_included_set(Library& library, const RunTimeVariables& gvar, Prompts& prompts,
                         const std::string& name, bool quiet,
                         const std::function<void(Folder&)>& added) {
  const std::string path = included_set_path(gvar, name);
  if (!isfile(path)) {
    if (!quiet) {
      prompts.error("Unable to find the " + name +
                    " abbreviation set in the installation directory. Try reinstalling and "
                    "trying again.");
    }
    return false;
  }
  auto loaded = abbr_load_abbreviations_from_file(path, library.uids, false);
  if (!loaded) {
    prompts.error("Error loading included abbreviation set: " + loaded.error() + "\n");
    return false;
  }
  std::unique_ptr<Folder> root = std::move(loaded->root);
  if (root->name.empty()) root->name = name;
  Folder& top = abbr_ensure_absolute_parent(library.sandbox, library.uids);
  Folder& folder = abbr_add_subfolder_to_folder(top, std::move(root));
  if (added) added(folder);
  return true;
}

}  // namespace tolvan
