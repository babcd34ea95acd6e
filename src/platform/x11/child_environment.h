// The environment a program Tolvan starts receives: the user's own, without the variables
// that describe how Tolvan itself was started or that load code into every process.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

// The variables removed, by name:
//  - LD_PRELOAD, LD_AUDIT, LD_DEBUG, LD_PROFILE: dynamic-loader hooks, e.g. a debugging
//    or sanitizer library Tolvan runs under, which would be loaded into the child too;
//  - DESKTOP_STARTUP_ID, XDG_ACTIVATION_TOKEN: Tolvan's own start-up notification; a child
//    that took it over would end the wrong launch feedback;
//  - GIO_LAUNCHED_DESKTOP_FILE, GIO_LAUNCHED_DESKTOP_FILE_PID: name Tolvan's desktop entry
//    and process, not the child's.
std::span<const std::string_view> child_environment_removals();

// `environment` ("NAME=value" strings) without the removed variables; entries without "="
// are dropped too.
std::vector<std::string> child_environment(std::span<const std::string> environment);

}  // namespace tolvan
