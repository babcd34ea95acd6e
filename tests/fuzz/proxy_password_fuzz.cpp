// Feeds arbitrary bytes to the reader of the stored proxy password (the preferences file is
// the user's to edit). Whatever it gives back must scramble to the same bytes it was read
// from, or be empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "presenters/preferences/proxy_password.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view stored(reinterpret_cast<const char*>(data), size);
  const std::string password = tolvan::proxy_password_unscramble(stored);
  if (!password.empty() && tolvan::proxy_password_scramble(password) != stored) std::abort();
  if (tolvan::proxy_password_unscramble(tolvan::proxy_password_scramble(stored)) != stored) std::abort();
  return 0;
}
