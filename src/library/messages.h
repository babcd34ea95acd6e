// The lines Tolvan's library messages end with: where to get help.
#pragma once

#include <string_view>

namespace tolvan {

inline constexpr std::string_view kSupportContactLine =
    "If you need help, open Help > Support in Tolvan's main window.";
inline constexpr std::string_view kReportToSupportLine =
    "Please report this through Help > Support in Tolvan's main window.";

}  // namespace tolvan
