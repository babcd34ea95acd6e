// SingleInstance: one Tolvan per data folder. The instance lock decides who runs; a start
// that does not get it hands its command line to the one that did and ends. The hand-over
// goes over the session bus when there is one and the running Tolvan owns its name there,
// else over the private socket, which the running Tolvan always serves (a second start
// may come from a place without the bus, such as a login script).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/handover.h"
#include "app/handover_socket.h"
#include "app/instance_lock.h"
#include "core/result.h"

namespace tolvan {

class SingleInstance {
 public:
  explicit SingleInstance(std::string data_dir);

  // True when this process runs Tolvan on the folder. A lock that cannot be had at all
  // (the folder cannot be made) lets this process run: it could not save anything either,
  // and the user sees why.
  bool claim();
  // The second start: delivers the message, trying for at most `budget` while the running
  // Tolvan may still be getting ready. False when it could not be delivered.
  bool hand_over(const Handover& handover, std::chrono::milliseconds budget);

  // The running Tolvan: serves the socket (the bus side is the application's action).
  Status listen(HandoverListener::Receiver receiver);
  void stop_listening() { listener_.reset(); }

  const std::string& application_id() const { return app_id_; }
  const std::string& socket_path() const { return socket_path_; }
  const std::string& lock_error() const { return lock_error_; }

 private:
  InstanceLock lock_;
  std::string app_id_;
  std::string socket_path_;
  std::string lock_error_;
  std::unique_ptr<HandoverListener> listener_;
};

}  // namespace tolvan
