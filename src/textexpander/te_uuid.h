// TextExpander's snippet and group identities: random GUIDs written as 36 upper-case
// hexadecimal digits and dashes, the form TextExpander itself writes.
#pragma once

#include <string>
#include <string_view>

namespace tolvan {

// A new random (version 4) uuid, "XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX" in upper case.
std::string te_uuid_generate();

// Whether `text` has that form (8-4-4-4-12 hexadecimal digits, either case).
bool te_uuid_is_well_formed(std::string_view text);

// The uuid as uuids are compared: without regard to case.
std::string te_uuid_key(std::string_view uuid);

}  // namespace tolvan
