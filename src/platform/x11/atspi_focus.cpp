#include "platform/x11/atspi_focus.h"

#include <atspi/atspi-constants.h>
#include <gio/gio.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tolvan::x11 {
namespace {

constexpr const char* kRegistry = "org.a11y.atspi.Registry";
constexpr const char* kRootPath = "/org/a11y/atspi/accessible/root";
constexpr const char* kAccessible = "org.a11y.atspi.Accessible";

// An object in an application: its unique bus name and object path.
struct Remote {
  std::string bus;
  std::string path;
  bool operator==(const Remote&) const = default;
  explicit operator bool() const { return !bus.empty(); }
};

// One method call on the accessibility bus and its reply, null on any failure (a closed
// application, a missing interface, no answer in time).
class Reply {
 public:
  Reply(GDBusConnection* bus, const Remote& to, const char* interface, const char* method, GVariant* args,
        const char* reply_type) {
    reply_ = g_dbus_connection_call_sync(bus, to.bus.c_str(), to.path.c_str(), interface, method, args,
                                         reply_type ? G_VARIANT_TYPE(reply_type) : nullptr,
                                         G_DBUS_CALL_FLAGS_NO_AUTO_START, AtspiFocus::kCallTimeoutMs, nullptr,
                                         nullptr);
  }
  ~Reply() {
    if (reply_) g_variant_unref(reply_);
  }
  Reply(const Reply&) = delete;
  Reply& operator=(const Reply&) = delete;
  GVariant* get() const { return reply_; }
  explicit operator bool() const { return reply_ != nullptr; }

 private:
  GVariant* reply_ = nullptr;
};

// The object references of an (a(so)) reply, at most `limit` of them.
std::vector<Remote> references_in(const Reply& reply, size_t limit = SIZE_MAX) {
  std::vector<Remote> found;
  if (!reply) return found;
  GVariantIter* items = nullptr;
  g_variant_get(reply.get(), "(a(so))", &items);
  const char* name = nullptr;
  const char* path = nullptr;
  while (found.size() < limit && g_variant_iter_next(items, "(&s&o)", &name, &path))
    found.push_back(Remote{name, path});
  g_variant_iter_free(items);
  return found;
}

std::vector<Remote> children(GDBusConnection* bus, const Remote& of) {
  return references_in(Reply(bus, of, kAccessible, "GetChildren", nullptr, "(a(so))"));
}

bool has_state(GDBusConnection* bus, const Remote& object, AtspiStateType state) {
  Reply reply(bus, object, kAccessible, "GetState", nullptr, "(au)");
  if (!reply) return false;
  GVariantIter* words = nullptr;
  g_variant_get(reply.get(), "(au)", &words);
  uint32_t word = 0;
  bool has = false;
  for (unsigned index = 0; g_variant_iter_next(words, "u", &word); ++index)
    if (index == static_cast<unsigned>(state) / 32) has = (word >> (state % 32)) & 1u;
  g_variant_iter_free(words);
  return has;
}

// The first object below `window` whose states hold the focus, found by the application
// itself in one call.
Remote focused_below(GDBusConnection* bus, const Remote& window) {
  GVariantBuilder states;
  g_variant_builder_init(&states, G_VARIANT_TYPE("ai"));
  g_variant_builder_add(&states, "i", static_cast<int32_t>(1u << ATSPI_STATE_FOCUSED));
  g_variant_builder_add(&states, "i", 0);
  GVariantBuilder roles;
  g_variant_builder_init(&roles, G_VARIANT_TYPE("ai"));
  for (int word = 0; word < 4; ++word) g_variant_builder_add(&roles, "i", 0);
  GVariantBuilder attributes;
  g_variant_builder_init(&attributes, G_VARIANT_TYPE("a{ss}"));
  GVariantBuilder interfaces;
  g_variant_builder_init(&interfaces, G_VARIANT_TYPE("as"));
  const int32_t all = ATSPI_Collection_MATCH_ALL;
  GVariant* args = g_variant_new("((aiia{ss}iaiiasib)uib)", &states, all, &attributes, all, &roles, all, &interfaces,
                                 all, FALSE, static_cast<uint32_t>(ATSPI_Collection_SORT_ORDER_CANONICAL), 1, TRUE);
  std::vector<Remote> found =
      references_in(Reply(bus, window, "org.a11y.atspi.Collection", "GetMatches", args, "(a(so))"), 1);
  return found.empty() ? Remote{} : found.front();
}

std::optional<Rect> as_caret(int x, int y, int width, int height, bool right_edge) {
  if (height <= 0) return std::nullopt;
  const int left = right_edge ? x + width : x;
  return Rect{left, y, left + 1, y + height};
}

std::optional<Rect> character_extents(GDBusConnection* bus, const Remote& text, int offset, bool right_edge) {
  Reply reply(bus, text, "org.a11y.atspi.Text", "GetCharacterExtents",
              g_variant_new("(iu)", offset, static_cast<uint32_t>(ATSPI_COORD_TYPE_SCREEN)), "(iiii)");
  if (!reply) return std::nullopt;
  int x = 0, y = 0, width = 0, height = 0;
  g_variant_get(reply.get(), "(iiii)", &x, &y, &width, &height);
  return as_caret(x, y, width, height, right_edge);
}

// The caret before the character at the caret offset: that character's left edge; at the
// end of the text, the right edge of the last character; in an empty field, the field's
// left edge.
std::optional<Rect> caret_of(GDBusConnection* bus, const Remote& object) {
  Reply property(bus, object, "org.freedesktop.DBus.Properties", "Get",
                 g_variant_new("(ss)", "org.a11y.atspi.Text", "CaretOffset"), "(v)");
  if (!property) return std::nullopt;
  GVariant* value = nullptr;
  g_variant_get(property.get(), "(v)", &value);
  const int offset = g_variant_is_of_type(value, G_VARIANT_TYPE_INT32) ? g_variant_get_int32(value) : -1;
  g_variant_unref(value);
  std::optional<Rect> caret;
  if (offset >= 0) caret = character_extents(bus, object, offset, false);
  if (!caret && offset > 0) caret = character_extents(bus, object, offset - 1, true);
  if (caret) return caret;
  Reply extents(bus, object, "org.a11y.atspi.Component", "GetExtents",
                g_variant_new("(u)", static_cast<uint32_t>(ATSPI_COORD_TYPE_SCREEN)), "((iiii))");
  if (!extents) return std::nullopt;
  int x = 0, y = 0, width = 0, height = 0;
  g_variant_get(extents.get(), "((iiii))", &x, &y, &width, &height);
  if (width <= 0) return std::nullopt;
  return as_caret(x, y, width, height, false);
}

// A connection of Tolvan's own to a message bus. (The process-wide ones of GDBus end the
// process when their bus goes away.)
GDBusConnection* open_bus(const char* address) {
  return g_dbus_connection_new_for_address_sync(
      address,
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, nullptr);
}

// The accessibility bus's address: where the environment says, else where the session
// bus's accessibility service says.
std::string accessibility_bus_address() {
  if (const char* address = std::getenv("AT_SPI_BUS_ADDRESS"); address && *address) return address;
  gchar* session_address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (!session_address) return "";
  GDBusConnection* session = open_bus(session_address);
  g_free(session_address);
  if (!session) return "";
  GVariant* reply = g_dbus_connection_call_sync(session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                                "GetAddress", nullptr, G_VARIANT_TYPE("(s)"),
                                                G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
  g_dbus_connection_close_sync(session, nullptr, nullptr);
  g_object_unref(session);
  if (!reply) return "";
  const char* address = nullptr;
  g_variant_get(reply, "(&s)", &address);
  std::string found = address ? address : "";
  g_variant_unref(reply);
  return found;
}

}  // namespace

std::optional<Rect> believed_caret(const FocusedAccessible& focused, uint32_t window_pid, const Rect& frame) {
  if (!focused.caret || focused.pid == 0 || focused.pid != window_pid) return std::nullopt;
  const Rect& at = *focused.caret;
  const bool inside = at.left >= frame.left && at.left <= frame.right && at.top >= frame.top &&
                      at.top < frame.bottom && at.bottom >= at.top;
  if (!inside) return std::nullopt;
  return at;
}

struct AtspiFocus::Tracker {
  explicit Tracker(std::atomic<uint32_t>& secret_pid) : secret_pid(secret_pid) {}

  void run();
  bool connect();
  // Whether the known focused object still has the focus, else a search for the one that
  // has it, in process `pid` (0: any); looking held.
  void look(uint32_t pid);
  void adopt(const Remote& object, uint32_t pid);
  void forget();
  uint32_t pid_of(const std::string& bus_name);

  std::atomic<uint32_t>& secret_pid;
  const uint32_t own_pid = static_cast<uint32_t>(getpid());
  std::thread thread;

  mutable std::mutex looking;  // one look at a time, over what follows
  GDBusConnection* bus = nullptr;
  Remote focused;
  FocusedAccessible snapshot;
  // The object that last had the focus, and its process, kept when the focus goes.
  Remote recent;
  uint32_t recent_pid = 0;
  std::map<std::string, uint32_t> pids;  // unique bus names are never reused

  std::mutex mutex;  // over what follows
  std::condition_variable changed;
  bool started = false;
  bool stopping = false;
  std::optional<std::chrono::steady_clock::time_point> look_due;
  uint32_t due_pid = 0;
};

bool AtspiFocus::Tracker::connect() {
  const std::string address = accessibility_bus_address();
  if (address.empty()) return false;
  bus = open_bus(address.c_str());
  return bus != nullptr;
}

void AtspiFocus::Tracker::run() {
  bool connected = false;
  {
    std::lock_guard held(looking);
    connected = connect();
    if (connected) look(0);
  }
  std::unique_lock held(mutex);
  started = true;
  changed.notify_all();
  while (connected && !stopping) {
    if (!look_due) {
      changed.wait(held);
      continue;
    }
    if (changed.wait_until(held, *look_due) != std::cv_status::timeout) continue;
    look_due.reset();
    const uint32_t pid = due_pid;
    held.unlock();
    {
      std::lock_guard look_held(looking);
      look(pid);
    }
    held.lock();
  }
}

uint32_t AtspiFocus::Tracker::pid_of(const std::string& bus_name) {
  if (auto known = pids.find(bus_name); known != pids.end()) return known->second;
  Reply reply(bus, Remote{"org.freedesktop.DBus", "/org/freedesktop/DBus"}, "org.freedesktop.DBus",
              "GetConnectionUnixProcessID", g_variant_new("(s)", bus_name.c_str()), "(u)");
  uint32_t pid = 0;
  if (reply) g_variant_get(reply.get(), "(u)", &pid);
  if (pid != 0) pids[bus_name] = pid;
  return pid;
}

void AtspiFocus::Tracker::look(uint32_t pid) {
  if (!bus || pid == own_pid) return forget();
  if (focused && (pid == 0 || pid == snapshot.pid) && has_state(bus, focused, ATSPI_STATE_FOCUSED)) return;
  for (const Remote& app : children(bus, Remote{kRegistry, kRootPath})) {
    const uint32_t app_pid = pid_of(app.bus);
    if (app_pid == 0 || app_pid == own_pid || (pid != 0 && app_pid != pid)) continue;
    for (const Remote& window : children(bus, app)) {
      if (!has_state(bus, window, ATSPI_STATE_ACTIVE)) continue;
      if (Remote found = focused_below(bus, window)) return adopt(found, app_pid);
    }
  }
  forget();
}

void AtspiFocus::Tracker::adopt(const Remote& object, uint32_t pid) {
  if (object == focused) return;
  focused = object;
  recent = object;
  recent_pid = pid;
  Reply role(bus, object, kAccessible, "GetRole", nullptr, "(u)");
  uint32_t value = 0;
  if (role) g_variant_get(role.get(), "(u)", &value);
  snapshot = FocusedAccessible{pid, role && value == ATSPI_ROLE_PASSWORD_TEXT, std::nullopt};
  secret_pid.store(snapshot.secret ? pid : 0, std::memory_order_release);
}

void AtspiFocus::Tracker::forget() {
  focused = Remote{};
  snapshot = FocusedAccessible{};
  secret_pid.store(0, std::memory_order_release);
}

AtspiFocus::AtspiFocus() : tracker_(std::make_unique<Tracker>(secret_pid_)) {
  tracker_->thread = std::thread([tracker = tracker_.get()] { tracker->run(); });
}

AtspiFocus::~AtspiFocus() {
  {
    std::lock_guard held(tracker_->mutex);
    tracker_->stopping = true;
  }
  tracker_->changed.notify_all();
  tracker_->thread.join();
  if (tracker_->bus) {
    g_dbus_connection_close_sync(tracker_->bus, nullptr, nullptr);
    g_object_unref(tracker_->bus);
  }
}

bool AtspiFocus::wait_started() const {
  std::unique_lock held(tracker_->mutex);
  tracker_->changed.wait(held, [&] { return tracker_->started; });
  return tracker_->bus != nullptr;
}

FocusedAccessible AtspiFocus::focused(uint32_t pid) const {
  std::lock_guard held(tracker_->looking);
  tracker_->look(pid);
  FocusedAccessible now = tracker_->snapshot;
  Remote caret_holder = tracker_->focused;
  // While a hotkey is held, its grab takes the keyboard from the application, whose control
  // loses the focus as far as AT-SPI tells; its caret stays where the user left it.
  if (!caret_holder && pid != 0 && tracker_->recent_pid == pid) {
    caret_holder = tracker_->recent;
    now.pid = pid;
  }
  if (caret_holder) now.caret = caret_of(tracker_->bus, caret_holder);
  return now;
}

void AtspiFocus::look_again(uint32_t pid) {
  {
    std::lock_guard held(tracker_->mutex);
    tracker_->due_pid = pid;  // the latest word on where the focus is wins
    if (tracker_->look_due) return;
    tracker_->look_due = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSettleMs);
  }
  tracker_->changed.notify_all();
}

}  // namespace tolvan::x11
