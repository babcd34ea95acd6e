#include "app/handover.h"

#include "core/command_line.h"

namespace tolvan {
namespace {

constexpr std::string_view kMagic = "tolvan-handover 1";

void append_field(std::string& out, std::string_view name, std::string_view value) {
  out.append(name);
  out.push_back('\0');
  out.append(value);
  out.push_back('\0');
}

// Splits off the text up to the next NUL; nullopt when there is no NUL.
std::optional<std::string_view> take_until_nul(std::string_view& rest) {
  const size_t nul = rest.find('\0');
  if (nul == std::string_view::npos) return std::nullopt;
  std::string_view part = rest.substr(0, nul);
  rest.remove_prefix(nul + 1);
  return part;
}

}  // namespace

std::string encode_handover(const Handover& handover) {
  std::string out(kMagic);
  out.push_back('\0');
  append_field(out, "show", "1");
  append_field(out, "cwd", handover.working_dir);
  if (handover.import_path) append_field(out, "import", *handover.import_path);
  return out;
}

Result<Handover> decode_handover(std::string_view bytes) {
  if (bytes.size() > kHandoverMaxBytes) return Error{"The hand-over message is too long."};
  auto magic = take_until_nul(bytes);
  if (!magic || *magic != kMagic) return Error{"The hand-over message has an unknown form."};
  Handover handover;
  bool show = false, cwd = false;
  while (!bytes.empty()) {
    auto name = take_until_nul(bytes);
    auto value = name ? take_until_nul(bytes) : std::nullopt;
    if (!value) return Error{"The hand-over message ends inside a field."};
    if (value->size() > kHandoverMaxValueBytes) return Error{"A hand-over field is too long."};
    if (*name == "show" && !show && *value == "1") {
      show = true;
    } else if (*name == "cwd" && !cwd && (value->empty() || value->front() == '/')) {
      cwd = true;
      handover.working_dir = std::string(*value);
    } else if (*name == "import" && !handover.import_path && !value->empty()) {
      handover.import_path = std::string(*value);
    } else {
      return Error{"The hand-over message has a field that is unknown, repeated or invalid."};
    }
  }
  if (!show || !cwd) return Error{"The hand-over message lacks a field."};
  return handover;
}

std::optional<std::string> handover_import_file(const Handover& handover) {
  if (!handover.import_path) return std::nullopt;
  std::string path = import_path_from_argument(*handover.import_path, handover.working_dir);
  if (path.empty() || path.front() != '/') return std::nullopt;
  return path;
}

}  // namespace tolvan
