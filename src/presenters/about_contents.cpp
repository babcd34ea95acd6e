#include "presenters/about_contents.h"

#include <fstream>
#include <sstream>

#include "core/paths.h"

namespace tolvan {

std::string about_license_path(const std::string& installation_dir) {
  return path_join(installation_dir, "License.txt");
}

std::optional<std::string> about_license_text(const std::string& installation_dir) {
  const std::string path = about_license_path(installation_dir);
  if (installation_dir.empty() || !isfile(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace tolvan
