// Byte-buffer shifts and resizing for the key buffer.
#include "core/key_buffer.h"

#include <algorithm>

namespace tolvan {

void shift_all_chars_left(std::vector<char>& buffer, size_t n) {
  if (buffer.empty() || n == 0) return;
  if (n >= buffer.size()) {
    std::fill(buffer.begin(), buffer.end(), 0);
    return;
  }
  std::move(buffer.begin() + static_cast<long>(n), buffer.end(), buffer.begin());
  std::fill(buffer.end() - static_cast<long>(n), buffer.end(), 0);
}

void shift_all_chars_right(std::vector<char>& buffer, size_t n) {
  if (buffer.empty() || n == 0) return;
  if (n >= buffer.size()) {
    std::fill(buffer.begin(), buffer.end(), 0);
    return;
  }
  std::move_backward(buffer.begin(), buffer.end() - static_cast<long>(n), buffer.end());
  std::fill(buffer.begin(), buffer.begin() + static_cast<long>(n), 0);
}

std::vector<char> resize_back_buffer(const std::vector<char>& old, size_t new_size) {
  if (old.size() == new_size) return old;
  std::vector<char> resized(new_size, 0);
  size_t keep = std::min(old.size(), new_size);
  std::copy(old.end() - static_cast<long>(keep), old.end(),
            resized.end() - static_cast<long>(keep));
  return resized;
}

}  // namespace tolvan
