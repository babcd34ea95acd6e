// The descriptions Tolvan gives a new abbreviation until the user types one: the start of
// its replacement text, or the readable part of a website's address.
#pragma once

#include <string>
#include <string_view>

namespace tolvan {

inline constexpr const char* kNewAbbreviationDescription = "New Abbreviation";
inline constexpr const char* kNewLauncherDescription = "New Launcher";

// "" for no text; else the text cut after 32 characters with "..." added when it was
// longer, then cut at its first line break.
std::string desc_from_replacement_text(std::string_view text);

// The address after its first "www." (any case) when something follows it, else from that
// "www." on; without one, what follows the first "://" when something does; else the whole
// address. "New Launcher" when that leaves nothing.
std::string desc_from_website_address(std::string_view url);

}  // namespace tolvan
