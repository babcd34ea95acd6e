// XDG autostart entries, written through the safe save.
#include "platform/x11/xdg_autostart.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/paths.h"
#include "core/safe_save.h"

namespace tolvan {

XdgAutostart::XdgAutostart(std::string config_dir)
    : entry_path_(path_join(path_join(config_dir, "autostart"), "tolvan.desktop")) {}

std::string autostart_exec_line(const std::string& executable, const std::string& arguments) {
  // Inside a quoted Exec argument ", `, $ and \ take a backslash; then the whole value is a
  // desktop-file string, where a backslash is itself written twice, and % is a field code.
  std::string quoted = "\"";
  for (char c : executable) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string line;
  for (char c : quoted + arguments) {
    if (c == '\\') line += '\\';
    if (c == '%') line += '%';
    line += c;
  }
  return line;
}

bool XdgAutostart::is_enabled() const { return ::access(entry_path_.c_str(), R_OK) == 0; }

Status XdgAutostart::enable(const std::string& executable, const std::string& arguments) {
  if (int err = mkdir_p(parse_out_directory(entry_path_)); err != 0) {
    return Error{"Unable to create the autostart folder " + parse_out_directory(entry_path_) +
                 ": " + std::strerror(err)};
  }
  std::string entry =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Tolvan\n"
      "Comment=Text expander\n"
      "Exec=" + autostart_exec_line(executable, arguments) + "\n"
      "Terminal=false\n"
      "X-GNOME-Autostart-enabled=true\n";
  return safe_save_file(entry_path_, entry);
}

Status XdgAutostart::disable() {
  if (::unlink(entry_path_.c_str()) == 0 || errno == ENOENT) return Status::success();
  return Error{"Unable to remove the autostart entry " + entry_path_ + ": " + std::strerror(errno)};
}

}  // namespace tolvan
