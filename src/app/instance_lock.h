// The lock that decides who runs Tolvan on a data folder: an flock on <data folder>/
// instance.lock, held for the whole run and given back by the kernel when the process ends,
// however it ends. Of any number of starts racing for the same folder exactly one gets it.
#pragma once

#include <string>

#include "core/result.h"

namespace tolvan {

class InstanceLock {
 public:
  explicit InstanceLock(std::string data_dir);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when this process now holds the lock (or already did); false when another process
  // holds it. An error when the lock file cannot be had at all (the folder cannot be made).
  Result<bool> acquire();
  void release();
  bool held() const { return fd_ >= 0; }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace tolvan
