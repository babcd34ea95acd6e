// What the About box says: the product's name, its comment and its licence, read from
// License.txt in the installation data folder.
#pragma once

#include <optional>
#include <string>

namespace tolvan {

inline constexpr const char* kAboutProgramName = "Tolvan";
inline constexpr const char* kAboutComment = "Typing everything manually is so old school.";
inline constexpr const char* kLicenseMissing =
    "License file doesn't exist! This is very, very bad. Try re-installing.";

// <installation_dir>/License.txt
std::string about_license_path(const std::string& installation_dir);
// The licence's text; nullopt when the file cannot be read.
std::optional<std::string> about_license_text(const std::string& installation_dir);

}  // namespace tolvan
