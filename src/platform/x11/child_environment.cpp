#include "platform/x11/child_environment.h"

#include <algorithm>
#include <array>

namespace tolvan {
namespace {

constexpr std::array<std::string_view, 8> kRemoved{
    "LD_PRELOAD",         "LD_AUDIT",           "LD_DEBUG",
    "LD_PROFILE",         "DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN",
    "GIO_LAUNCHED_DESKTOP_FILE", "GIO_LAUNCHED_DESKTOP_FILE_PID"};

}  // namespace

std::span<const std::string_view> child_environment_removals() { return kRemoved; }

std::vector<std::string> child_environment(std::span<const std::string> environment) {
  std::vector<std::string> kept;
  for (const std::string& entry : environment) {
    const size_t equals = entry.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    const std::string_view name = std::string_view(entry).substr(0, equals);
    if (std::find(kRemoved.begin(), kRemoved.end(), name) != kRemoved.end()) continue;
    kept.push_back(entry);
  }
  return kept;
}

}  // namespace tolvan
