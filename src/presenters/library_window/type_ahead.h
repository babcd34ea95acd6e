// TypeAhead: the abbreviation list's keyboard search. Keys typed within a second of each
// other build a string that is looked for as a case-insensitive prefix of the sort
// column's text; the same first letter typed again moves on to the next row that begins
// with it. Fed with key values and their times, so it has no clock of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tolvan {

struct TypeAheadSearch {
  std::string text;     // UTF-8
  bool repeat = false;  // the same single letter again: start after the selected row
  friend bool operator==(const TypeAheadSearch&, const TypeAheadSearch&) = default;
};

class TypeAhead {
 public:
  // A key press on the list at `time_ms`; `keyval` is the toolkit's key value (Latin-1
  // characters are their code). The search to run, or nothing when the key does not count.
  std::optional<TypeAheadSearch> key_pressed(uint32_t keyval, bool ctrl, int64_t time_ms);

 private:
  std::string main_;    // Latin-1 bytes: the search string
  std::string second_;  // everything typed since the last reset
  std::optional<int64_t> last_time_;
};

// The row the search selects among `count` rows, starting at the selected row (the one
// after it for a repeat), wrapping around once; nothing when no row's text begins with it.
std::optional<size_t> type_ahead_find(const TypeAheadSearch& search, size_t count,
                                      std::optional<size_t> selected,
                                      const std::function<std::string(size_t)>& row_text);

}  // namespace tolvan
