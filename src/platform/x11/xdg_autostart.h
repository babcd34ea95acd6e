// Start at login on Linux: an XDG autostart entry, <config>/autostart/tolvan.desktop.
#pragma once

#include "platform/autostart.h"

namespace tolvan {

class XdgAutostart : public Autostart {
 public:
  // `config_dir` is the user's configuration folder ($XDG_CONFIG_HOME).
  explicit XdgAutostart(std::string config_dir);

  bool is_enabled() const override;
  Status enable(const std::string& executable, const std::string& arguments) override;
  Status disable() override;

  const std::string& entry_path() const { return entry_path_; }

 private:
  std::string entry_path_;
};

// The desktop entry's Exec value: the executable quoted by the Exec rules, then `arguments`.
std::string autostart_exec_line(const std::string& executable, const std::string& arguments);

}  // namespace tolvan
