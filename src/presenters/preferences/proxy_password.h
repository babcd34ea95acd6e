// The proxy password as the preferences file keeps it (key `proxy_`): scrambled so that it
// is not readable at a glance in the file or over a shoulder. This is NOT protection: the
// key is in the program and anyone with the file can unscramble it. What protects the
// password is the preferences file's own permissions (readable by its owner only).
#pragma once

#include <string>
#include <string_view>

namespace tolvan {

std::string proxy_password_scramble(std::string_view password);
// The inverse of proxy_password_scramble; text that no scrambling produced gives "".
std::string proxy_password_unscramble(std::string_view stored);

}  // namespace tolvan
