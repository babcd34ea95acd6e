// The names under which the Tolvan that runs on a data folder is found: its lock file, its
// hand-over socket and its application id on the session bus. Every data folder has its own,
// so Tolvans on different folders (--config-dir, portable media) run side by side.
#pragma once

#include <string>

namespace tolvan {

// <data folder>/instance.lock
std::string instance_lock_file(const std::string& data_dir);

// Where the hand-over socket lives: $XDG_RUNTIME_DIR when it is a private folder of ours,
// else the data folder, else a private folder under /tmp; "" when no path fits a Unix
// socket address.
std::string handover_socket_path(const std::string& data_dir);

// The application id (an element must not start with a digit, hence the letter).
std::string instance_application_id(const std::string& data_dir);
// The object path GApplication exports for `app_id`.
std::string application_object_path(const std::string& app_id);

}  // namespace tolvan
