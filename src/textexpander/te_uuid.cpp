#include "textexpander/te_uuid.h"

#include <cstdint>
#include <random>

namespace tolvan {
namespace {

bool is_hex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool is_dash_position(size_t i) { return i == 8 || i == 13 || i == 18 || i == 23; }

}  // namespace

std::string te_uuid_generate() {
  // One generator per thread, seeded from the system: imports run on worker threads.
  thread_local std::mt19937_64 generator{[] {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    return std::mt19937_64(seed);
  }()};
  uint8_t bytes[16];
  for (int i = 0; i < 16; i += 8) {
    uint64_t r = generator();
    for (int j = 0; j < 8; ++j) bytes[i + j] = static_cast<uint8_t>(r >> (8 * j));
  }
  bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(36);
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
  }
  return out;
}

bool te_uuid_is_well_formed(std::string_view text) {
  if (text.size() != 36) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (is_dash_position(i) ? text[i] != '-' : !is_hex(text[i])) return false;
  }
  return true;
}

std::string te_uuid_key(std::string_view uuid) {
  std::string key(uuid);
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

}  // namespace tolvan
