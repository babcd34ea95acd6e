// Moving a library file aside.
#include "library/library_aside.h"

#include "core/paths.h"
#include "library/file_moves.h"

namespace tolvan {

bool abbr_backup_abbrev_file_in_dir(const std::string& folder, const std::tm* now) {
  std::tm local{};
  if (now == nullptr) {
    std::time_t t = std::time(nullptr);
    localtime_r(&t, &local);
    now = &local;
  }
  char stamp[64];
  size_t len = std::strftime(stamp, sizeof stamp, "%b%d_%Y_%H_%M_%S", now);
  const std::string from = path_join(folder, "abbreviations.tlv");
  if (!isfile(from)) return false;
  for (int n = 0; n < 2500; ++n) {
    std::string to = path_join(folder, "abbreviations_backup" + std::to_string(n) +
                                           std::string(stamp, len) + ".tlv");
    if (rename_no_replace(from, to)) return true;
  }
  return false;
}

}  // namespace tolvan
