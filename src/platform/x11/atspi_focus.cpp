#include "platform/x11/atspi_focus.h"

#include <atspi/atspi.h>

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <string_view>
#include <thread>

namespace tolvan::x11 {
namespace {

// Frees a GError left by an AT-SPI call; answers whether there was one.
bool failed(GError*& error) {
  if (!error) return false;
  g_error_free(error);
  error = nullptr;
  return true;
}

std::optional<Rect> character_extents(AtspiText* text, int offset, bool right_edge) {
  GError* error = nullptr;
  AtspiRect* r = atspi_text_get_character_extents(text, offset, ATSPI_COORD_TYPE_SCREEN, &error);
  std::optional<Rect> caret;
  if (!failed(error) && r && r->height > 0) {
    const int x = right_edge ? r->x + r->width : r->x;
    caret = Rect{x, r->y, x + 1, r->y + r->height};
  }
  if (r) g_free(r);
  return caret;
}

// The caret before the character at `offset`: that character's left edge; at the end of
// the text, the right edge of the last character; in an empty field, the field's left edge.
std::optional<Rect> caret_at(AtspiAccessible* accessible, int offset) {
  AtspiText* text = atspi_accessible_get_text_iface(accessible);
  if (!text) return std::nullopt;
  std::optional<Rect> caret;
  if (offset >= 0) caret = character_extents(text, offset, false);
  if (!caret && offset > 0) caret = character_extents(text, offset - 1, true);
  g_object_unref(text);
  if (caret) return caret;
  AtspiComponent* component = atspi_accessible_get_component_iface(accessible);
  if (!component) return std::nullopt;
  GError* error = nullptr;
  AtspiRect* r = atspi_component_get_extents(component, ATSPI_COORD_TYPE_SCREEN, &error);
  if (!failed(error) && r && r->height > 0 && r->width > 0)
    caret = Rect{r->x, r->y, r->x + 1, r->y + r->height};
  if (r) g_free(r);
  g_object_unref(component);
  return caret;
}

int caret_offset(AtspiAccessible* accessible) {
  AtspiText* text = atspi_accessible_get_text_iface(accessible);
  if (!text) return -1;
  GError* error = nullptr;
  int offset = atspi_text_get_caret_offset(text, &error);
  if (failed(error)) offset = -1;
  g_object_unref(text);
  return offset;
}

bool has_state(AtspiAccessible* accessible, AtspiStateType state) {
  AtspiStateSet* states = atspi_accessible_get_state_set(accessible);
  if (!states) return false;
  const bool has = atspi_state_set_contains(states, state);
  g_object_unref(states);
  return has;
}

// The focused object below an active top-level window of `app`, found with one Collection
// query per window (null when the application has none or cannot be asked).
AtspiAccessible* focused_in(AtspiAccessible* app) {
  GError* error = nullptr;
  const int windows = atspi_accessible_get_child_count(app, &error);
  if (failed(error)) return nullptr;
  AtspiAccessible* found = nullptr;
  for (int i = 0; i < windows && !found; ++i) {
    AtspiAccessible* window = atspi_accessible_get_child_at_index(app, i, &error);
    if (failed(error) || !window) continue;
    if (has_state(window, ATSPI_STATE_ACTIVE)) {
      if (AtspiCollection* collection = atspi_accessible_get_collection_iface(window)) {
        AtspiStateSet* states = atspi_state_set_new(nullptr);
        atspi_state_set_add(states, ATSPI_STATE_FOCUSED);
        AtspiMatchRule* rule = atspi_match_rule_new(states, ATSPI_Collection_MATCH_ALL, nullptr,
                                                    ATSPI_Collection_MATCH_ALL, nullptr,
                                                    ATSPI_Collection_MATCH_ALL, nullptr,
                                                    ATSPI_Collection_MATCH_ALL, FALSE);
        GArray* matches = atspi_collection_get_matches(collection, rule, ATSPI_Collection_SORT_ORDER_CANONICAL,
                                                       1, TRUE, &error);
        if (!failed(error) && matches && matches->len > 0)
          found = static_cast<AtspiAccessible*>(g_object_ref(g_array_index(matches, AtspiAccessible*, 0)));
        if (matches) {
          for (guint m = 0; m < matches->len; ++m) g_object_unref(g_array_index(matches, AtspiAccessible*, m));
          g_array_free(matches, TRUE);
        }
        g_object_unref(rule);
        g_object_unref(states);
        g_object_unref(collection);
      }
    }
    g_object_unref(window);
  }
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

struct AtspiFocus::Loop {
  Loop(AtspiFocus& owner, FocusTracking tracking) : owner(owner), tracking(tracking) {}

  void run();
  void stop();
  // Connects, listens and looks for the current focus on the calling thread's context;
  // false when there is no accessibility bus.
  bool start_listening();
  void stop_listening();
  // Each listener gets its own copy of the event, and frees it.
  static void on_event(AtspiEvent* event, void* self) {
    static_cast<Loop*>(self)->handle(event);
    if (event) g_boxed_free(ATSPI_TYPE_EVENT, event);
  }
  void handle(AtspiEvent* event);
  void adopt(AtspiAccessible* accessible);
  void forget();
  // Nothing known of the focus but its process (0: not even that).
  void forget_for(uint32_t pid);
  void find_current_focus();
  void mark_started(bool ok);
  // Where the caret of the focused object is, asked of its application: on the thread that
  // runs the tracker's context, waiting for it there if need be.
  std::optional<Rect> ask_caret();
  // Asked on the tracker's own context.
  std::optional<Rect> caret_of_focus() const;

  AtspiFocus& owner;
  const FocusTracking tracking;
  const uint32_t own_pid = static_cast<uint32_t>(getpid());
  AtspiEventListener* listener = nullptr;
  std::thread thread;
  GMainContext* context = nullptr;
  GMainLoop* main_loop = nullptr;
  AtspiAccessible* focused = nullptr;  // the tracker's context's alone
  FocusedAccessible snapshot;          // likewise; published to the owner

  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  bool started = false;
  bool connected = false;
  bool stopping = false;
};

void AtspiFocus::Loop::mark_started(bool ok) {
  std::lock_guard held(mutex);
  started = true;
  connected = ok;
  changed.notify_all();
}

static constexpr const char* kEvents[] = {"object:state-changed:focused"};

bool AtspiFocus::Loop::start_listening() {
  const int init = atspi_init();
  if ((init != 0 && init != 1) || !atspi_get_a11y_bus()) return false;
  // On its own thread the tracker takes libatspi's one connection to its own context.
  // A process with windows of its own must not do that: the toolkit's accessibility bridge
  // answers other programs on the same connection, and must stay on the main loop.
  if (tracking == FocusTracking::kOwnThread) atspi_set_main_context(context);
  listener = atspi_event_listener_new(&Loop::on_event, this, nullptr);
  bool listening = true;
  for (const char* type : kEvents) {
    GError* error = nullptr;
    listening = atspi_event_listener_register(listener, type, &error) && listening;
    failed(error);
  }
  find_current_focus();
  return listening;
}

void AtspiFocus::Loop::stop_listening() {
  if (!listener) return;
  for (const char* type : kEvents) {
    GError* error = nullptr;
    atspi_event_listener_deregister(listener, type, &error);
    failed(error);
  }
  g_object_unref(listener);
  listener = nullptr;
  forget();
  // libatspi cannot be started again once it has been shut down, so its connection stays
  // for the process; it goes back to the default context, which outlives this one.
  if (tracking == FocusTracking::kOwnThread) atspi_set_main_context(nullptr);
}

void AtspiFocus::Loop::run() {
  g_main_context_push_thread_default(context);
  const bool listening = start_listening();
  mark_started(listening);
  bool run_loop = false;
  {
    std::lock_guard held(mutex);
    run_loop = listener && !stopping;
  }
  if (run_loop) g_main_loop_run(main_loop);
  stop_listening();
  g_main_context_pop_thread_default(context);
}

void AtspiFocus::Loop::stop() {
  {
    std::lock_guard held(mutex);
    stopping = true;
  }
  g_main_context_invoke(
      context,
      [](gpointer loop) -> gboolean {
        g_main_loop_quit(static_cast<GMainLoop*>(loop));
        return G_SOURCE_REMOVE;
      },
      main_loop);
}

void AtspiFocus::Loop::find_current_focus() {
  AtspiAccessible* desktop = atspi_get_desktop(0);
  if (!desktop) return;
  GError* error = nullptr;
  const int apps = atspi_accessible_get_child_count(desktop, &error);
  for (int i = 0; !failed(error) && i < apps && !focused; ++i) {
    AtspiAccessible* app = atspi_accessible_get_child_at_index(desktop, i, &error);
    if (failed(error) || !app) continue;
    const uint32_t pid = atspi_accessible_get_process_id(app, &error);
    if (failed(error) || pid == own_pid) {
      g_object_unref(app);
      continue;
    }
    if (AtspiAccessible* found = focused_in(app)) {
      adopt(found);
      g_object_unref(found);
    }
    g_object_unref(app);
  }
  g_object_unref(desktop);
}

void AtspiFocus::Loop::handle(AtspiEvent* event) {
  if (!event || !event->type || !event->source) return;
  // Tolvan's own windows are not asked about their caret: a call to itself would wait for
  // an answer that only this very loop could give.
  GError* error = nullptr;
  uint32_t pid = atspi_accessible_get_process_id(event->source, &error);
  if (failed(error)) pid = 0;
  if (pid == own_pid) {
    forget_for(pid);
    return;
  }
  const std::string_view type = event->type;
  if (type.starts_with("object:state-changed:focused")) {
    if (event->detail1)
      adopt(event->source);
    else if (event->source == focused)
      forget();
  }
}

void AtspiFocus::Loop::adopt(AtspiAccessible* accessible) {
  if (accessible == focused) return;
  if (focused) g_object_unref(focused);
  focused = static_cast<AtspiAccessible*>(g_object_ref(accessible));
  GError* error = nullptr;
  snapshot.pid = atspi_accessible_get_process_id(accessible, &error);
  if (failed(error)) snapshot.pid = 0;
  const AtspiRole role = atspi_accessible_get_role(accessible, &error);
  snapshot.secret = !failed(error) && role == ATSPI_ROLE_PASSWORD_TEXT;
  owner.publish(snapshot);
}

std::optional<Rect> AtspiFocus::Loop::caret_of_focus() const {
  if (!focused || snapshot.pid == own_pid) return std::nullopt;
  return caret_at(focused, caret_offset(focused));
}

namespace {

// One caret asked for from another thread: the answer, once the tracker's context has
// given it. Shared, so that a caller that stopped waiting leaves nothing dangling.
struct CaretRequest {
  std::mutex mutex;
  std::condition_variable answered;
  bool done = false;
  std::optional<Rect> caret;
};

struct CaretCall {
  const AtspiFocus::Loop* loop;
  std::shared_ptr<CaretRequest> request;
};

}  // namespace

std::optional<Rect> AtspiFocus::Loop::ask_caret() {
  GMainContext* home = tracking == FocusTracking::kOwnThread ? context : g_main_context_default();
  if (g_main_context_is_owner(home)) return caret_of_focus();
  if (g_main_context_acquire(home)) {
    // Nobody runs the context just now: the caller may ask on it.
    std::optional<Rect> caret = caret_of_focus();
    g_main_context_release(home);
    return caret;
  }
  // Another thread runs the default context; waiting for it could wait for this very thread.
  if (tracking == FocusTracking::kMainContext) return std::nullopt;
  auto request = std::make_shared<CaretRequest>();
  // Calls still pending when the tracker stops are freed with its context, never run.
  g_main_context_invoke_full(
      home, G_PRIORITY_DEFAULT,
      [](gpointer data) -> gboolean {
        auto* call = static_cast<CaretCall*>(data);
        std::optional<Rect> caret = call->loop->caret_of_focus();
        {
          std::lock_guard held(call->request->mutex);
          call->request->caret = caret;
          call->request->done = true;
        }
        call->request->answered.notify_all();
        return G_SOURCE_REMOVE;
      },
      new CaretCall{this, request}, [](gpointer data) { delete static_cast<CaretCall*>(data); });
  std::unique_lock held(request->mutex);
  if (!request->answered.wait_for(held, std::chrono::milliseconds(kCaretWaitMs), [&] { return request->done; }))
    return std::nullopt;
  return request->caret;
}

void AtspiFocus::Loop::forget_for(uint32_t pid) {
  if (focused) g_object_unref(focused);
  focused = nullptr;
  snapshot = FocusedAccessible{};
  snapshot.pid = pid;
  owner.publish(snapshot);
}

void AtspiFocus::Loop::forget() {
  if (focused) g_object_unref(focused);
  focused = nullptr;
  snapshot = FocusedAccessible{};
  owner.publish(snapshot);
}

AtspiFocus::AtspiFocus(FocusTracking tracking) : loop_(std::make_unique<Loop>(*this, tracking)) {
  if (tracking == FocusTracking::kMainContext) {
    loop_->mark_started(loop_->start_listening());
    return;
  }
  loop_->context = g_main_context_new();
  loop_->main_loop = g_main_loop_new(loop_->context, FALSE);
  loop_->thread = std::thread([loop = loop_.get()] { loop->run(); });
}

AtspiFocus::~AtspiFocus() {
  if (loop_->tracking == FocusTracking::kMainContext) {
    loop_->stop_listening();
    return;
  }
  loop_->stop();
  loop_->thread.join();
  g_main_loop_unref(loop_->main_loop);
  g_main_context_unref(loop_->context);
}

bool AtspiFocus::wait_started() const {
  std::unique_lock held(loop_->mutex);
  loop_->changed.wait(held, [&] { return loop_->started; });
  return loop_->connected;
}

FocusedAccessible AtspiFocus::focused() const {
  FocusedAccessible focused;
  {
    std::lock_guard held(mutex_);
    focused = focused_;
  }
  if (focused.pid != 0) focused.caret = loop_->ask_caret();
  return focused;
}

void AtspiFocus::publish(const FocusedAccessible& focused) {
  std::lock_guard held(mutex_);
  focused_ = focused;
  secret_pid_.store(focused.secret ? focused.pid : 0, std::memory_order_release);
}

}  // namespace tolvan::x11
