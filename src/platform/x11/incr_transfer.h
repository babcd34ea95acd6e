// The pieces of an X selection transfer that need no server: turning a property's items
// into bytes, reassembling an INCR transfer from its chunks, and cutting data into chunks
// for one. Data from other programs is untrusted: sizes are bounded, whatever they claim.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan::x11 {

// A property's items as bytes. Xlib hands 32-bit items as longs and 16-bit items as shorts;
// each becomes 4 or 2 little-endian bytes. An unknown item format gives nullopt.
std::optional<std::string> property_bytes(int format, const void* items, size_t count);
// The atoms of a TARGETS answer made bytes by property_bytes: 4 little-endian bytes each, a
// ragged end ignored, None dropped, at most `limit` of them.
std::vector<unsigned long> atoms_of_bytes(std::string_view bytes, size_t limit);

// The largest selection Tolvan takes in: past it a transfer is abandoned.
inline constexpr size_t kMaxSelectionBytes = size_t{256} << 20;

// One INCR transfer coming in: the owner announced a lower bound on the size, then sends
// chunks until an empty one.
class IncrReceiver {
 public:
  enum class Step { More, Done, TooLarge };

  explicit IncrReceiver(size_t size_hint, size_t limit = kMaxSelectionBytes);
  Step add(std::string_view chunk);
  bool done() const { return done_; }
  // The data, once done().
  std::string take() { return std::move(data_); }

 private:
  std::string data_;
  size_t limit_;
  bool done_ = false;
  bool failed_ = false;
};

// One INCR transfer going out to a requestor: chunks of at most `chunk_size` bytes, and last
// an empty chunk that ends it. The data is shared with the clipboard's copy, which may be
// replaced meanwhile without disturbing the transfer.
class IncrSender {
 public:
  IncrSender(std::shared_ptr<const std::string> data, size_t chunk_size);
  // The next chunk to write; after the empty one, finished() is true.
  std::string_view next_chunk();
  bool finished() const { return finished_; }
  size_t size() const { return data_->size(); }

 private:
  std::shared_ptr<const std::string> data_;
  size_t chunk_size_;
  size_t offset_ = 0;
  bool finished_ = false;
};

}  // namespace tolvan::x11
