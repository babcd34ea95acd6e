// Safe saves: temporary file, fsync, rename, fsync of the folder.
#include "core/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace tolvan {
namespace {

std::string folder_of(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string errno_text(int err) { return std::strerror(err); }

// Writes all of `data` to `fd`, retrying short writes and interruptions.
bool write_all(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

void sync_folder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // The rename already happened; a folder we cannot open is no failure.
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

Result<std::string> temp_filename_get(const std::string& path, bool directory_of) {
  static constexpr char kAlphabet[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  const std::string dir = directory_of ? folder_of(path) : path;
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);

  for (int attempt = 0; attempt < 512; ++attempt) {
    std::string name = dir;
    if (name.empty() || name.back() != '/') name += '/';
    name += "tlv";
    for (int i = 0; i < 6; ++i) name += kAlphabet[pick(random)];
    int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      return name;
    }
    if (errno != EEXIST) {
      return Error{"Unable to create temporary file in directory " + dir + ": " +
                   errno_text(errno)};
    }
  }
  return Error{"Unable to create temporary file in directory " + dir};
}

Status safe_save_file(const std::string& path, std::string_view contents) {
  auto temp = temp_filename_get(path, true);
  if (!temp) return Error{temp.error()};
  const std::string& temp_path = *temp;

  auto fail = [&](const std::string& what, int err) -> Status {
    ::unlink(temp_path.c_str());
    return Error{what + ": " + errno_text(err)};
  };

  int fd = ::open(temp_path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return fail("Could not open temporary file " + temp_path, errno);
  if (!write_all(fd, contents)) {
    int err = errno;
    ::close(fd);
    return fail("Could not write temporary file " + temp_path, err);
  }
  if (::fsync(fd) != 0) {
    int err = errno;
    ::close(fd);
    return fail("Could not flush temporary file " + temp_path, err);
  }
  if (::close(fd) != 0) return fail("Could not close temporary file " + temp_path, errno);

  // Keep the permissions of the file being replaced; a new file gets the usual 0644
  // less the user's umask rather than the temporary file's 0600.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) {
    ::chmod(temp_path.c_str(), old.st_mode & 07777);
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temp_path.c_str(), 0666 & ~mask);
  }

  if (::rename(temp_path.c_str(), path.c_str()) != 0) {
    return fail("Could not move temporary file " + temp_path + " to " + path, errno);
  }
  sync_folder(folder_of(path));
  return Status::success();
}

}  // namespace tolvan
