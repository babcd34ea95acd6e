#include "app/instance_names.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/paths.h"

namespace tolvan {
namespace {

// FNV-1a of the folder's path, as 16 hexadecimal digits.
std::string folder_hash(const std::string& text) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return hex;
}

// A folder that is ours and that no one else may enter.
bool private_folder(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 077) == 0;
}

bool fits_socket_address(const std::string& path) {
  return path.size() < sizeof(sockaddr_un{}.sun_path);
}

}  // namespace

std::string instance_lock_file(const std::string& data_dir) {
  return path_join(data_dir, "instance.lock");
}

std::string handover_socket_path(const std::string& data_dir) {
  const std::string name = "tolvan-" + folder_hash(data_dir) + ".sock";
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
      runtime && runtime[0] == '/' && private_folder(runtime)) {
    std::string path = path_join(runtime, name);
    if (fits_socket_address(path)) return path;
  }
  // The data folder holds only this Tolvan's files; the listener's peer check keeps other
  // users out even when the folder itself can be entered.
  std::string beside = path_join(data_dir, "instance.sock");
  if (fits_socket_address(beside)) return beside;
  const std::string tmp = "/tmp/tolvan-" + std::to_string(::getuid());
  if (::mkdir(tmp.c_str(), 0700) != 0 && errno != EEXIST) return "";
  if (!private_folder(tmp)) return "";
  return path_join(tmp, name);
}

std::string instance_application_id(const std::string& data_dir) {
  return "org.tolvan.Tolvan.d" + folder_hash(data_dir);
}

std::string application_object_path(const std::string& app_id) {
  std::string path = "/";
  for (char c : app_id) path += c == '.' ? '/' : c == '-' ? '_' : c;
  return path;
}

}  // namespace tolvan
