#include "presenters/library_window/auto_description.h"

#include <algorithm>
#include <cctype>

namespace tolvan {
namespace {

constexpr size_t kDescriptionChars = 32;

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte length of the first `chars` characters of `text` (all of it when shorter).
size_t prefix_bytes(std::string_view text, size_t chars) {
  size_t seen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (is_continuation(text[i])) continue;
    if (seen == chars) return i;
    ++seen;
  }
  return text.size();
}

size_t find_ignoring_case(std::string_view text, std::string_view needle) {
  auto hit = std::search(text.begin(), text.end(), needle.begin(), needle.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
  return hit == text.end() ? std::string_view::npos : static_cast<size_t>(hit - text.begin());
}

}  // namespace

std::string desc_from_replacement_text(std::string_view text) {
  const size_t cut = prefix_bytes(text, kDescriptionChars);
  std::string description(text.substr(0, cut));
  if (cut < text.size()) description += "...";
  description.resize(std::min(description.size(), description.find_first_of("\r\n")));
  return description;
}

std::string desc_from_website_address(std::string_view url) {
  std::string_view description = url;
  if (size_t www = find_ignoring_case(url, "www."); www != std::string_view::npos) {
    description = www + 4 < url.size() ? url.substr(www + 4) : url.substr(www);
  } else if (size_t scheme = url.find("://");
             scheme != std::string_view::npos && scheme + 3 < url.size()) {
    description = url.substr(scheme + 3);
  }
  return description.empty() ? kNewLauncherDescription : std::string(description);
}

}  // namespace tolvan
