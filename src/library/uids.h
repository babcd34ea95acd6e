// UidCounter: the folder identities of one library. Every folder created (loaded, new,
// imported, the absolute parent) takes the next value, starting at 0; copies keep the uid
// of what they copy, so a folder has the same uid in the main list and in the sandbox, and
// the uids of an unchanged file are the same at every start.
#pragma once

#include <cstdint>

namespace tolvan {

class UidCounter {
 public:
  uint32_t take() { return next_++; }
  uint32_t peek() const { return next_; }

 private:
  uint32_t next_ = 0;
};

}  // namespace tolvan
