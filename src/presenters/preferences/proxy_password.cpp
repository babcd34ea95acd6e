#include "presenters/preferences/proxy_password.h"

#include <cstddef>

namespace tolvan {
namespace {

// Any fixed text would do: the scrambling hides the password from a glance, nothing more.
constexpr std::string_view kKey =
    "PtY^gj*mU:h%Bel31iEl,2h.pC@@:h/:YgCf-rL1s+p/N-}xn:/[yVm,i.h?A#}*2O7:6UMFxFk/M)#R5K=jp&1";
static_assert(kKey.size() == 87);

constexpr std::string_view kHex = "0123456789abcdef";

// Each byte is combined with the key and with its position, so that repeated letters of a
// password do not show as repeated pairs.
unsigned char mask(size_t i) {
  return static_cast<unsigned char>(static_cast<unsigned char>(kKey[i % kKey.size()]) ^ (i * 31));
}

int hex_value(char c) {
  const size_t at = kHex.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

}  // namespace

std::string proxy_password_scramble(std::string_view password) {
  std::string stored;
  stored.reserve(password.size() * 2);
  for (size_t i = 0; i < password.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(password[i]) ^ mask(i);
    stored += kHex[byte >> 4];
    stored += kHex[byte & 15];
  }
  return stored;
}

std::string proxy_password_unscramble(std::string_view stored) {
  if (stored.size() % 2 != 0) return {};
  std::string password;
  password.reserve(stored.size() / 2);
  for (size_t i = 0; i < stored.size() / 2; ++i) {
    const int high = hex_value(stored[2 * i]), low = hex_value(stored[2 * i + 1]);
    if (high < 0 || low < 0) return {};
    password += static_cast<char>(static_cast<unsigned char>(high << 4 | low) ^ mask(i));
  }
  return password;
}

}  // namespace tolvan
