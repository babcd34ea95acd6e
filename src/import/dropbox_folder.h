// The local Dropbox folder, from the Dropbox client's own files under the home folder:
// ~/.dropbox/info.json (the current client: "personal", else "business", "path") and the
// older ~/.dropbox/host.db (its second line is the folder in Base64). Both files belong to
// another program and are read as hostile input: anything that is not a plain absolute
// path gives no folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvan {

// The folder info.json names, or nothing.
std::optional<std::string> dropbox_folder_from_info_json(std::string_view text);
// The folder host.db's second line names, or nothing.
std::optional<std::string> dropbox_folder_from_host_db(std::string_view text);

// dropbox_get_folder_path: info.json first, then host.db, in `home`/.dropbox.
std::optional<std::string> dropbox_get_folder_path(const std::string& home);

}  // namespace tolvan
