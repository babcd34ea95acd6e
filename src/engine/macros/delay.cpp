// Parsing of the Delay macro's time.
#include "engine/macros/delay.h"

#include <algorithm>

#include "engine/macros/syntax.h"

namespace tolvan {
namespace {

// A pause longer than this is certainly a typing error; capping keeps the sum in range.
constexpr std::int64_t kMaxDelayMs = 1'000'000'000'000LL;

}  // namespace

std::int64_t delay_macro_get_ms(std::string_view arg) {
  std::int64_t total = 0;
  size_t pos = 0;
  while (pos < arg.size() && macro_is_digit(arg[pos])) {
    std::int64_t number = 0;
    for (; pos < arg.size() && macro_is_digit(arg[pos]); ++pos) {
      number = std::min(kMaxDelayMs, number * 10 + (arg[pos] - '0'));
    }
    std::int64_t factor = 0;
    if (pos == arg.size()) {
      factor = 1;
    } else if (macro_has_prefix_at(arg, pos, "ms")) {
      factor = 1;
      pos += 2;
    } else if (arg[pos] == 's' || arg[pos] == 'S') {
      factor = 1000;
      pos += 1;
    }
    if (factor == 0) break;
    total = std::min(kMaxDelayMs, total + std::min(kMaxDelayMs, number * factor));
  }
  return total;
}

}  // namespace tolvan
