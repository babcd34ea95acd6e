#include "app/handover_socket.h"

#include <fcntl.h>
#include <glib-unix.h>
#include <glib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/main_loop.h"

namespace tolvan {
namespace {

constexpr unsigned kClientSeconds = 3;

bool fits_socket_address(const std::string& path) {
  return !path.empty() && path.size() < sizeof(sockaddr_un{}.sun_path);
}

bool peer_is_us(int fd) {
  ucred cred {};
  socklen_t len = sizeof cred;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == ::getuid();
}

sockaddr_un address_of(const std::string& path) {
  sockaddr_un addr {};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return addr;
}

}  // namespace

struct HandoverListener::Client {
  std::string bytes;
  unsigned io_watch = 0;
  unsigned timeout = 0;
};

Result<std::unique_ptr<HandoverListener>> HandoverListener::listen(const std::string& path,
                                                                   Receiver receiver) {
  if (!fits_socket_address(path)) return Error{"No place for the hand-over socket."};
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return Error{std::string("Unable to create a socket: ") + std::strerror(errno)};
  ::unlink(path.c_str());
  sockaddr_un addr = address_of(path);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 8) != 0) {
    const int err = errno;
    ::close(fd);
    ::unlink(path.c_str());
    return Error{"Unable to listen on " + path + ": " + std::strerror(err)};
  }
  return std::unique_ptr<HandoverListener>(new HandoverListener(path, fd, std::move(receiver)));
}

HandoverListener::HandoverListener(std::string path, int fd, Receiver receiver)
    : path_(std::move(path)), fd_(fd), receiver_(std::move(receiver)) {
  watch_ = g_unix_fd_add(
      fd_, G_IO_IN,
      [](int, GIOCondition, gpointer self) -> gboolean {
        static_cast<HandoverListener*>(self)->accept_clients();
        return G_SOURCE_CONTINUE;
      },
      this);
}

HandoverListener::~HandoverListener() {
  while (!clients_.empty()) drop(clients_.begin()->first);
  g_source_remove(watch_);
  ::close(fd_);
  ::unlink(path_.c_str());
}

void HandoverListener::accept_clients() {
  for (;;) {
    const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return;  // EAGAIN: all taken; anything else: the next wake-up tries again
    if (!peer_is_us(fd)) {
      ::close(fd);
      continue;
    }
    auto client = std::make_unique<Client>();
    struct Ref {
      HandoverListener* self;
      int fd;
    };
    client->io_watch = g_unix_fd_add_full(
        G_PRIORITY_DEFAULT, fd, G_IO_IN,
        [](int, GIOCondition, gpointer data) -> gboolean {
          auto* ref = static_cast<Ref*>(data);
          if (ref->self->read_from(ref->fd)) return G_SOURCE_CONTINUE;
          ref->self->drop(ref->fd);  // destroys this source; its Ref lives until we return
          return G_SOURCE_REMOVE;
        },
        new Ref{this, fd}, [](gpointer data) { delete static_cast<Ref*>(data); });
    client->timeout = g_timeout_add_seconds_full(
        G_PRIORITY_DEFAULT, kClientSeconds,
        [](gpointer data) -> gboolean {
          auto* ref = static_cast<Ref*>(data);
          ref->self->clients_.at(ref->fd)->timeout = 0;  // this source ends by returning
          ref->self->drop(ref->fd);
          return G_SOURCE_REMOVE;
        },
        new Ref{this, fd}, [](gpointer data) { delete static_cast<Ref*>(data); });
    clients_[fd] = std::move(client);
  }
}

bool HandoverListener::read_from(int fd) {
  Client& client = *clients_.at(fd);
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      client.bytes.append(buffer, static_cast<size_t>(n));
      if (client.bytes.size() > kHandoverMaxBytes) return false;  // refused whole
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return true;
    break;  // end of the message, or a broken connection
  }
  // The receiver runs later, on its own: it may open windows or end the program, and so
  // this listener, which is still inside its own callback here.
  if (auto handover = decode_handover(client.bytes)) {
    post_to_main_loop([receiver = receiver_, message = *handover] { receiver(message); });
  }
  return false;
}

void HandoverListener::drop(int fd) {
  auto it = clients_.find(fd);
  if (it == clients_.end()) return;
  std::unique_ptr<Client> client = std::move(it->second);
  clients_.erase(it);
  if (client->io_watch) g_source_remove(client->io_watch);
  if (client->timeout) g_source_remove(client->timeout);
  ::close(fd);
}

bool send_handover_over_socket(const std::string& path, std::string_view bytes) {
  if (!fits_socket_address(path)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un addr = address_of(path);
  bool sent = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && peer_is_us(fd);
  while (sent && !bytes.empty()) {
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      sent = false;
      break;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  ::close(fd);
  return sent;
}

}  // namespace tolvan
