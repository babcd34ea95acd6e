// Path helpers with the platform's separator, and folder creation.
#include "core/paths.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>

namespace tolvan {

std::string path_join(std::string_view a, std::string_view b) {
  while (!a.empty() && a.back() == kDirSep && a.size() > 1) a.remove_suffix(1);
  while (!b.empty() && b.front() == kDirSep) b.remove_prefix(1);
  if (a.empty()) return std::string(b);
  std::string out(a);
  if (out.back() != kDirSep) out += kDirSep;
  out.append(b);
  return out;
}

std::string extract_file_extension(std::string_view path) {
  std::string_view name = path.substr(path.find_last_of(kDirSep) + 1);
  size_t dot = name.find_last_of('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string parse_out_directory(std::string_view path) {
  size_t sep = path.find_last_of(kDirSep);
  return std::string(sep == std::string_view::npos ? path : path.substr(0, sep));
}

std::string parse_out_filename(std::string_view path) {
  size_t sep = path.find_last_of(kDirSep);
  return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string parse_out_drive_letter_string(std::string_view path) {
  if (path.empty() || !std::isalpha(static_cast<unsigned char>(path[0]))) return {};
  size_t colon = path.find(':');
  return colon == std::string_view::npos ? std::string() : std::string(path.substr(0, colon + 1));
}

std::string updirify(std::string_view path, int n) {
  const bool absolute = !path.empty() && path.front() == kDirSep;
  for (int i = 0; i < n && !path.empty(); ++i) {
    while (!path.empty() && path.back() == kDirSep) path.remove_suffix(1);
    size_t sep = path.find_last_of(kDirSep);
    path = sep == std::string_view::npos ? std::string_view() : path.substr(0, sep);
    while (!path.empty() && path.back() == kDirSep) path.remove_suffix(1);
  }
  if (path.empty() && absolute) return std::string(1, kDirSep);
  return std::string(path);
}

int mkdir_p(const std::string& path) {
  for (size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos != path.size() && path[pos] != kDirSep) continue;
    if (path[pos - 1] == kDirSep) continue;
    std::string prefix = path.substr(0, pos);
    if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return errno;
  }
  return directory_exists(path) ? 0 : ENOTDIR;
}

bool isfile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool directory_exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace tolvan
