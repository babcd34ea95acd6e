#include "presenters/file_dialogs.h"

#include <filesystem>

#include "core/paths.h"
#include "presenters/overwrite_question.h"

namespace tolvan {

DialogStart file_dialog_start(const std::string& initial_path,
                              const std::string& initial_folder, bool must_exist) {
  if (directory_exists(initial_path)) return {initial_path, ""};
  if (must_exist && !isfile(initial_path)) return {initial_folder, ""};
  return {initial_folder, initial_path};
}

std::string with_default_extension(const std::string& path, std::string_view extension) {
  if (extension.empty() || path.empty() || path.back() == kDirSep) return path;
  if (!extract_file_extension(path).empty()) return path;
  return path + "." + std::string(extension);
}

std::optional<std::string> save_file_name_flow(
    const std::function<std::optional<std::string>()>& ask_name,
    std::string_view default_extension, Prompts& prompts) {
  while (std::optional<std::string> name = ask_name()) {
    const std::string completed = with_default_extension(*name, default_extension);
    // The dialog itself asked about the name as typed, not about the completed one.
    if (completed == *name || ui_ask_overwrite_if_necessary(prompts, completed))
      return completed;
  }
  return std::nullopt;
}

std::string folder_link_target(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_symlink(folder, ec) || !fs::is_directory(folder, ec)) return folder;
  fs::path target = fs::canonical(folder, ec);
  return ec ? folder : target.string();
}

}  // namespace tolvan
