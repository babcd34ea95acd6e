// The editor's readings of library text on hostile input: the derived descriptions (valid
// UTF-8 stays valid, at most 32 characters and "...", never a line break; an address always
// gives a description) and the folder hotkey string, whose row form reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/utf.h"
#include "presenters/hotkey_row.h"
#include "presenters/library_window/auto_description.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const std::string description = tolvan::desc_from_replacement_text(input);
  if (tolvan::utf8_valid(input) && input.find('\0') == std::string_view::npos &&
      !tolvan::utf8_valid(description))
    std::abort();
  if (tolvan::utf8_length(description) > 35) std::abort();
  if (description.find_first_of("\r\n") != std::string::npos) std::abort();
  if (tolvan::desc_from_website_address(input).empty()) std::abort();

  const tolvan::HotkeyRow row = tolvan::hotkey_row_from_string(input);
  if (tolvan::hotkey_row_from_string(tolvan::hotkey_row_string(row)) != row) std::abort();
  return 0;
}
