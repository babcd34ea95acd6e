// The hand-over from a second start to the running Tolvan: "show the main window", and the
// file named with --import together with the second process's working directory. Both
// channels (the session bus and the private socket) carry the same bytes, and the running
// Tolvan reads them as hostile input: anything that is not exactly a well-formed message
// within the limits is refused whole.
//
// The bytes: the line "tolvan-handover 1" ended by a NUL, then fields, each a name and a
// value ended by a NUL: "show" "1" (always present), "cwd" <absolute folder>, and, when a
// file is to be imported, "import" <path>. Names appear at most once, in any order.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace tolvan {

inline constexpr size_t kHandoverMaxBytes = 16384;
inline constexpr size_t kHandoverMaxValueBytes = 4096;

struct Handover {
  std::string working_dir;                 // "" when the second process had none
  std::optional<std::string> import_path;  // as the second process resolved it

  friend bool operator==(const Handover&, const Handover&) = default;
};

std::string encode_handover(const Handover& handover);
Result<Handover> decode_handover(std::string_view bytes);

// The file to import, by the command line's rule (a path whose folder differs from the
// working directory is taken inside it); nullopt when none was named or when the result is
// not an absolute path (nothing to resolve a relative one against here).
std::optional<std::string> handover_import_file(const Handover& handover);

}  // namespace tolvan
