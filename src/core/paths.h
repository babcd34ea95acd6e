// Paths with the platform's separator, and the small file-system helpers built on them.
#pragma once

#include <string>
#include <string_view>

namespace tolvan {

inline constexpr char kDirSep = '/';
inline constexpr std::string_view DIR_SEP = "/";

// <a>/<b> with exactly one separator between them.
std::string path_join(std::string_view a, std::string_view b);

// The text from the last "." of the file name on, dot included; "" when there is none.
std::string extract_file_extension(std::string_view path);
// The path cut at its last separator (the whole path when there is none).
std::string parse_out_directory(std::string_view path);
// The text after the last separator.
std::string parse_out_filename(std::string_view path);
// "C:" style drive prefix: when the path begins with a letter, the text up to and including
// the first colon; "" otherwise. (On Linux Tolvan's "drive" is a mount point; see
// settings/program_folders.h.)
std::string parse_out_drive_letter_string(std::string_view path);

// Cuts the last n components off the path; a run of separators counts as one.
std::string updirify(std::string_view path, int n);

// Creates each folder along the path, ignoring those that exist; stops at the first other
// error. Returns 0 on success, else the errno of the failing mkdir.
int mkdir_p(const std::string& path);

bool isfile(const std::string& path);            // exists and is not a folder
bool directory_exists(const std::string& path);  // exists and is a folder

}  // namespace tolvan
