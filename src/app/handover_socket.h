// The hand-over's private channel, for a desktop without a session bus: a Unix socket that
// only its owner can open (mode 0600 in a private folder), served by the running Tolvan on
// GLib's main context. A connection from another user is closed unread; a client gets a few
// seconds and kHandoverMaxBytes to say what it has to say, then the message is decoded.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "app/handover.h"
#include "core/result.h"

namespace tolvan {

class HandoverListener {
 public:
  using Receiver = std::function<void(const Handover&)>;

  // Only the holder of the instance lock listens, so a socket file left by a Tolvan that
  // ended without cleaning up is replaced.
  static Result<std::unique_ptr<HandoverListener>> listen(const std::string& path, Receiver receiver);
  ~HandoverListener();
  HandoverListener(const HandoverListener&) = delete;
  HandoverListener& operator=(const HandoverListener&) = delete;

 private:
  struct Client;
  HandoverListener(std::string path, int fd, Receiver receiver);
  void accept_clients();
  // False when the client is done (the connection is then closed).
  bool read_from(int fd);
  void drop(int fd);

  std::string path_;
  int fd_;
  Receiver receiver_;
  unsigned watch_ = 0;
  std::map<int, std::unique_ptr<Client>> clients_;
};

// The second start's side: connects, checks that the socket's owner is this user, sends the
// bytes and closes. False when nobody listens there (yet).
bool send_handover_over_socket(const std::string& path, std::string_view bytes);

}  // namespace tolvan
