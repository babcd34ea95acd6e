// Renames without replacing, and copies through the safe save.
#include "library/file_moves.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/paths.h"
#include "core/safe_save.h"
#include "library/abbrev_reader.h"

namespace tolvan {
namespace {

Error system_error(int err) { return Error{std::strerror(err)}; }

}  // namespace

Status rename_no_replace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return Status::success();
  }
  if (errno != EINVAL && errno != ENOSYS) return system_error(errno);
  // A file system without RENAME_NOREPLACE: a link fails on an existing name just the same.
  if (::link(from.c_str(), to.c_str()) != 0) return system_error(errno);
  if (::unlink(from.c_str()) != 0) {
    int err = errno;
    ::unlink(to.c_str());
    return system_error(err);
  }
  return Status::success();
}

Status copy_file_safely(const std::string& from, const std::string& to) {
  auto text = abbr_read_library_file(from);
  if (!text) return Error{text.error()};
  return safe_save_file(to, *text);
}

Status keep_file_as(const std::string& from, const std::string& to) {
  if (::link(from.c_str(), to.c_str()) == 0) return Status::success();
  if (errno == EEXIST) return system_error(EEXIST);
  if (isfile(to)) return system_error(EEXIST);
  return copy_file_safely(from, to);
}

}  // namespace tolvan
