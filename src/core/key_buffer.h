// The fixed-size byte buffers the key buffer is made of (newest byte last).
#pragma once

#include <cstddef>
#include <vector>

namespace tolvan {

// Moves the bytes from position n on to the start and zeroes the last n; n >= size clears.
void shift_all_chars_left(std::vector<char>& buffer, size_t n);
// Moves the bytes towards the end by n and zeroes the first n; n >= size clears.
void shift_all_chars_right(std::vector<char>& buffer, size_t n);
// A zero-filled buffer of new_size holding the newest bytes of `old`: when shrinking its
// last new_size bytes, when growing all of it placed at the end.
std::vector<char> resize_back_buffer(const std::vector<char>& old, size_t new_size);

}  // namespace tolvan
