// The hand-over message a second start sends to the running Tolvan: decoding any bytes
// neither crashes nor accepts what it would not send itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/handover.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto handover = tolvan::decode_handover(bytes);
  if (!handover) return 0;
  // What was accepted survives its own encoding unchanged.
  auto again = tolvan::decode_handover(tolvan::encode_handover(*handover));
  if (!again || !(*again == *handover)) std::abort();
  (void)tolvan::handover_import_file(*handover);
  return 0;
}
