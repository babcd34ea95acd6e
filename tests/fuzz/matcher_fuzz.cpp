// The abbreviation index against the plain library walk: the input chooses a small library
// (strings, case and Anywhere Modes, folders) and a run of typing; after every change of the
// key buffer both must name the same abbreviation string, else abort.
#include <cstdint>
#include <cstdlib>

#include "../support/random_library.h"
#include "engine/matching/abbrev_index.h"
#include "engine/matching/abbrev_walk.h"
#include "engine/hook/key_buffer.h"

namespace {

// Numbers taken from the input, one byte each (0 once it runs out).
class InputNumbers {
 public:
  InputNumbers(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t operator()(size_t bound) {
    if (bound <= 1 || pos_ >= size_) return 0;
    return data_[pos_++] % bound;
  }
  size_t left() const { return size_ - pos_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tolvan;
  InputNumbers next(data, size);
  FolderList main = testing::random_library(next, 40);
  AbbrevIndex index;
  index.build(main);
  KeyBuffer buffer;
  buffer.adjust_size(main);
  testing::random_typing(next, buffer, next.left(), [&] {
    if (mon_walk_find_best_match(main, buffer.bytes()) != index.find(buffer.bytes())) std::abort();
  });
  return 0;
}
