// What other programs send through the X selection, without a server: a TARGETS answer's
// atoms and names, and INCR chunks with a claimed size. Nothing may crash, grow past its
// bounds, or lose a byte of data that fits.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/x11/clipboard_targets.h"
#include "platform/x11/incr_transfer.h"

using namespace tolvan;
using namespace tolvan::x11;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // A TARGETS answer as bytes.
  const std::vector<unsigned long> atoms = atoms_of_bytes(input, kMaxTargets);
  if (atoms.size() > kMaxTargets || atoms.size() > size / 4) std::abort();
  for (unsigned long atom : atoms)
    if (atom == 0 || atom > 0xFFFFFFFFul) std::abort();

  // The same bytes as target names, split at newlines.
  ClipboardFormatTable table;
  std::vector<std::string> names;
  for (size_t start = 0; start <= input.size();) {
    size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    names.emplace_back(input.substr(start, end - start));
    start = end + 1;
  }
  const std::vector<ClipboardFormat> formats = formats_of_targets(table, names);
  for (ClipboardFormat format : formats) {
    std::optional<std::string> target = table.target_of(format);
    if (!target || is_meta_target(*target) || table.format_of(*target) != format) std::abort();
  }
  const std::vector<std::string> offered = targets_of_formats(table, formats);
  if (offered.size() < 2 || offered[0] != "TARGETS") std::abort();

  // INCR chunks: the first byte cuts the rest into pieces, the claimed size comes first.
  if (size >= 5) {
    const size_t piece = 1 + data[0] % 64;
    size_t claimed = 0;
    for (int i = 1; i <= 4; ++i) claimed = (claimed << 8) | data[i];
    const size_t limit = 1 + (claimed % 4096);
    IncrReceiver in(claimed << 20, limit);
    std::string expected;
    bool too_large = false;
    for (size_t at = 5; at < size; at += piece) {
      std::string_view chunk = input.substr(at, piece);
      expected.append(chunk);
      if (in.add(chunk) == IncrReceiver::Step::TooLarge) too_large = true;
    }
    const IncrReceiver::Step last = in.add("");
    if (too_large != (expected.size() > limit)) std::abort();
    if (!too_large && (last != IncrReceiver::Step::Done || in.take() != expected)) std::abort();

    IncrSender out(std::make_shared<const std::string>(expected), piece);
    std::string sent;
    for (size_t n = 0; !out.finished(); ++n) {
      if (n > expected.size() + 1) std::abort();
      sent.append(out.next_chunk());
    }
    if (sent != expected) std::abort();
  }
  return 0;
}
