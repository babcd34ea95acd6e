#include "platform/x11/incr_transfer.h"

#include <algorithm>
#include <cstdint>

namespace tolvan::x11 {
namespace {

// Room reserved up front for an announced size: a lying owner gets no more than this until
// its data really arrives.
constexpr size_t kMaxReserve = size_t{16} << 20;

}  // namespace

std::optional<std::string> property_bytes(int format, const void* items, size_t count) {
  std::string bytes;
  if (format == 8) {
    bytes.assign(static_cast<const char*>(items), count);
  } else if (format == 16) {
    const auto* shorts = static_cast<const unsigned short*>(items);
    for (size_t i = 0; i < count; ++i) {
      bytes.push_back(static_cast<char>(shorts[i] & 0xFF));
      bytes.push_back(static_cast<char>((shorts[i] >> 8) & 0xFF));
    }
  } else if (format == 32) {
    const auto* longs = static_cast<const unsigned long*>(items);
    for (size_t i = 0; i < count; ++i)
      for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((longs[i] >> shift) & 0xFF));
  } else {
    return std::nullopt;
  }
  return bytes;
}

std::vector<unsigned long> atoms_of_bytes(std::string_view bytes, size_t limit) {
  std::vector<unsigned long> atoms;
  for (size_t i = 0; i + 4 <= bytes.size() && atoms.size() < limit; i += 4) {
    unsigned long atom = 0;
    for (int k = 3; k >= 0; --k) atom = (atom << 8) | static_cast<uint8_t>(bytes[i + static_cast<size_t>(k)]);
    if (atom != 0) atoms.push_back(atom);
  }
  return atoms;
}

IncrReceiver::IncrReceiver(size_t size_hint, size_t limit) : limit_(limit) {
  data_.reserve(std::min({size_hint, limit_, kMaxReserve}));
}

IncrReceiver::Step IncrReceiver::add(std::string_view chunk) {
  if (failed_) return Step::TooLarge;
  if (done_) return Step::Done;
  if (chunk.empty()) {
    done_ = true;
    return Step::Done;
  }
  if (chunk.size() > limit_ - data_.size()) {
    failed_ = true;
    data_ = std::string();
    return Step::TooLarge;
  }
  data_.append(chunk);
  return Step::More;
}

IncrSender::IncrSender(std::shared_ptr<const std::string> data, size_t chunk_size)
    : data_(data ? std::move(data) : std::make_shared<const std::string>()),
      chunk_size_(std::max<size_t>(chunk_size, 1)) {}

std::string_view IncrSender::next_chunk() {
  if (offset_ >= data_->size()) {
    finished_ = true;
    return {};
  }
  const size_t n = std::min(chunk_size_, data_->size() - offset_);
  std::string_view chunk(data_->data() + offset_, n);
  offset_ += n;
  return chunk;
}

}  // namespace tolvan::x11
