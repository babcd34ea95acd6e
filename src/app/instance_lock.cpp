#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/instance_names.h"
#include "core/paths.h"

namespace tolvan {

InstanceLock::InstanceLock(std::string data_dir) : path_(instance_lock_file(data_dir)) {}

InstanceLock::~InstanceLock() { release(); }

Result<bool> InstanceLock::acquire() {
  if (fd_ >= 0) return true;
  if (int err = mkdir_p(parse_out_directory(path_)); err != 0) {
    return Error{"Unable to create the data folder " + parse_out_directory(path_) + ": " +
                 std::strerror(err)};
  }
  const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return Error{"Unable to open " + path_ + ": " + std::strerror(errno)};
  int rc;
  while ((rc = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (rc != 0) {
    const int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) return false;
    return Error{"Unable to lock " + path_ + ": " + std::strerror(err)};
  }
  fd_ = fd;
  return true;
}

void InstanceLock::release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the only descriptor gives the lock back
  fd_ = -1;
}

}  // namespace tolvan
