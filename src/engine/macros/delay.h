// The argument of %(Delay ...): numbers with units, "1s500ms" being 1500 milliseconds.
#pragma once

#include <cstdint>
#include <string_view>

namespace tolvan {

// Digits followed by "s" count as seconds, by "ms" or by the end as milliseconds; reading
// stops where no digit starts, and a number followed by anything else is not counted.
std::int64_t delay_macro_get_ms(std::string_view argument);

}  // namespace tolvan
