// The whole insertion pipeline, both TextExpander conversions and the typing-time parsers
// on hostile text: no crash, no hang, and valid UTF-8 out whenever the input is valid.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/utf.h"
#include "engine/macros/insertion.h"
#include "engine/macros/textexpander_codes.h"
#include "engine/macros/typing_macros.h"

namespace {

void require_utf8(bool input_valid, const std::string& s) {
  if (input_valid && !tolvan::utf8_valid(s)) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  // Text before the first NUL is the expansion, the rest the clipboard's text.
  size_t nul = input.find('\0');
  std::string_view text = input.substr(0, nul);
  std::string clipboard(nul == std::string_view::npos ? "" : input.substr(nul + 1));
  const bool valid = tolvan::utf8_valid(text) && tolvan::utf8_valid(clipboard);

  const tolvan::KeyLayoutLookup ascii_layout = [](char32_t c) {
    return c < 0x80 ? static_cast<int>(c) : -1;
  };
  tolvan::MacroEnvironment env;
  env.now = [] { return static_cast<std::time_t>(1'234'567'890); };
  env.clipboard_text = [&clipboard] { return std::optional<std::string>(clipboard); };

  tolvan::InsertionResult result = tolvan::insertion_macros_execute(text, env);
  require_utf8(valid, result.text);
  if (result.cursor_back < 0) std::abort();
  require_utf8(valid, tolvan::tolvan_macros_to_te_macros(text));
  require_utf8(valid, tolvan::te_macros_to_tolvan_macros(text));

  for (size_t pos = text.find('%'); pos != std::string_view::npos; pos = text.find('%', pos + 1)) {
    tolvan::TypingMacroStep step = tolvan::keysim_plan_macro(text, pos, ascii_layout);
    if (step.length_bytes > text.size() - pos) std::abort();
    if (step.kind == tolvan::TypingMacroKind::kInput) require_utf8(valid, step.input_default);
  }
  return 0;
}
