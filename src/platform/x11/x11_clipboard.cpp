#include <X11/Xatom.h>
#include <X11/Xlib.h>
#undef Status

#include "platform/x11/x11_clipboard.h"

#include <glib.h>

#include <algorithm>

#include "core/clipboard_text.h"
#include "platform/x11/x11_error_trap.h"

namespace tolvan::x11 {
namespace {

using Clock = std::chrono::steady_clock;

// An INCR transfer whose requestor stops asking for chunks is dropped after this.
constexpr auto kOutgoingIdle = std::chrono::seconds(15);
// More transfers at once than any desktop runs: a misbehaving requestor is refused.
constexpr size_t kMaxOutgoing = 64;
// How long an owner that let a conversion time out is left alone.
constexpr auto kUnresponsivePause = std::chrono::seconds(3);
// Room for the request's own fields inside the server's request limit.
constexpr size_t kRequestHeader = 1024;

}  // namespace

X11Clipboard::X11Clipboard(std::chrono::milliseconds step_timeout, Selection selection)
    : step_timeout_(step_timeout), selection_(selection) {
  Display* dpy = x_.display();
  if (!dpy) return;
  auto held = x_.lock();
  XSetWindowAttributes attributes{};
  attributes.event_mask = PropertyChangeMask;
  window_ = XCreateWindow(dpy, DefaultRootWindow(dpy), -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent,
                          CWEventMask, &attributes);
  clipboard_atom_ = XInternAtom(dpy, selection == Selection::Primary ? "PRIMARY" : "CLIPBOARD", False);
  targets_atom_ = XInternAtom(dpy, "TARGETS", False);
  timestamp_atom_ = XInternAtom(dpy, "TIMESTAMP", False);
  incr_atom_ = XInternAtom(dpy, "INCR", False);
  utf8_atom_ = XInternAtom(dpy, "UTF8_STRING", False);
  atom_atom_ = XA_ATOM;
  integer_atom_ = XA_INTEGER;
  reading_property_ = XInternAtom(dpy, "TOLVAN_SELECTION", False);
  time_property_ = XInternAtom(dpy, "TOLVAN_TIME", False);
  // Selection data goes in one request up to the server's basic limit (in 4-byte units),
  // whatever BIG-REQUESTS would allow: requestors expect larger data by INCR.
  const size_t max_request = static_cast<size_t>(XMaxRequestSize(dpy)) * 4;
  incr_threshold_ = max_request > 2 * kRequestHeader ? max_request - kRequestHeader : kRequestHeader;
  XFlush(dpy);
  x_.start([this](XEvent& event) { handle(event); });
}

X11Clipboard::~X11Clipboard() {
  release();
  x_.stop();
  if (window_) {
    auto held = x_.lock();
    XDestroyWindow(x_.display(), window_);
    XFlush(x_.display());
  }
}

// --- Tolvan's users ---

bool X11Clipboard::open() {
  std::lock_guard lock(mutex_);
  if (open_ || !ok()) return false;
  open_ = true;
  return true;
}

void X11Clipboard::close() {
  std::lock_guard lock(mutex_);
  open_ = false;
}

bool X11Clipboard::empty() {
  {
    std::lock_guard lock(mutex_);
    if (!open_) return false;
    held_.clear();
  }
  return take_ownership();
}

std::vector<ClipboardFormat> X11Clipboard::formats() {
  {
    std::lock_guard lock(mutex_);
    if (!open_) return {};
    if (owner_) {
      std::vector<ClipboardFormat> formats;
      for (const auto& [format, bytes] : held_) formats.push_back(format);
      return formats;
    }
  }
  std::optional<std::vector<std::string>> names = owner_targets();
  if (!names) return {};
  std::lock_guard lock(mutex_);
  return formats_of_targets(table_, *names);
}

std::optional<std::vector<std::string>> X11Clipboard::owner_targets() {
  std::optional<std::string> answer = convert("TARGETS");
  if (!answer) return std::nullopt;
  std::vector<std::string> names;
  for (unsigned long target : atoms_of_bytes(*answer, kMaxTargets))
    if (std::optional<std::string> name = atom_name(target)) names.push_back(std::move(*name));
  return names;
}

std::optional<std::string> X11Clipboard::get(ClipboardFormat format) {
  std::optional<std::string> target;
  {
    std::lock_guard lock(mutex_);
    if (!open_) return std::nullopt;
    if (owner_) {
      for (const auto& [f, bytes] : held_)
        if (f == format) return *bytes;
      return std::nullopt;
    }
    target = table_.target_of(format);
  }
  if (!target) return std::nullopt;
  std::optional<std::string> data = convert(*target);
  if (data && format == kFormatUnicodeText) return clipboard_encode_unicode_text(*data);
  return data;
}

bool X11Clipboard::set(ClipboardFormat format, std::string bytes) {
  bool owner = false;
  {
    std::lock_guard lock(mutex_);
    if (!open_ || !table_.target_of(format)) return false;
    owner = owner_;
  }
  if (!owner && !take_ownership()) return false;
  std::lock_guard lock(mutex_);
  auto data = std::make_shared<const std::string>(std::move(bytes));
  for (auto& [f, old] : held_)
    if (f == format) {
      old = std::move(data);
      return true;
    }
  held_.emplace_back(format, std::move(data));
  return true;
}

std::string X11Clipboard::format_name(ClipboardFormat format) {
  if (format < kFormatFirstRegistered) return "";
  std::lock_guard lock(mutex_);
  return table_.target_of(format).value_or("");
}

bool X11Clipboard::set_text(const std::string& utf8) {
  return empty() && set(kFormatUnicodeText, clipboard_encode_unicode_text(utf8));
}

std::optional<std::string> X11Clipboard::text() {
  {
    std::lock_guard lock(mutex_);
    if (owner_) {
      if (Bytes text = data_for_target(std::string(kUtf8Target))) return *text;
      return std::nullopt;
    }
  }
  // Some owners answer every target with the one thing they hold, an image as much as
  // text: ask for text only when the owner offers it. Owners that cannot list their
  // targets are asked directly.
  bool utf8 = true, latin1 = true;
  if (std::optional<std::vector<std::string>> targets = owner_targets()) {
    utf8 = std::find(targets->begin(), targets->end(), kUtf8Target) != targets->end();
    latin1 = std::find(targets->begin(), targets->end(), "STRING") != targets->end();
  }
  if (utf8)
    if (std::optional<std::string> text = convert(std::string(kUtf8Target))) return text;
  if (latin1)
    if (std::optional<std::string> text = convert("STRING")) return clipboard_decode_latin1(*text);
  return std::nullopt;
}

std::optional<int> X11Clipboard::completed_data_requests() {
  std::lock_guard lock(mutex_);
  return served_;
}

std::optional<int> X11Clipboard::pasting_program_requests() {
  std::lock_guard lock(mutex_);
  return fetcher_requests_;
}

std::optional<int> X11Clipboard::pasting_program_fetches() {
  std::lock_guard lock(mutex_);
  return fetcher_fetches_;
}

std::optional<ClipboardFormat> X11Clipboard::register_format(const std::string& target) {
  std::lock_guard lock(mutex_);
  return table_.format_of(target);
}

bool X11Clipboard::owns_selection() {
  std::lock_guard lock(mutex_);
  return owner_;
}

void X11Clipboard::release() {
  if (!ok()) return;
  // Clipboard managers keep CLIPBOARD only; a selection's text is the selected text.
  if (selection_ == Selection::Clipboard && owns_selection()) hand_to_clipboard_manager();
  auto held = x_.lock();
  std::lock_guard lock(mutex_);
  if (!owner_) return;
  Display* dpy = x_.display();
  if (XGetSelectionOwner(dpy, clipboard_atom_) == window_) XSetSelectionOwner(dpy, clipboard_atom_, None, owned_since_);
  XFlush(dpy);
  owner_ = false;
  held_.clear();
  x_.wake();
}

void X11Clipboard::hand_to_clipboard_manager() {
  const unsigned long manager = atom("CLIPBOARD_MANAGER");
  std::vector<long> targets;
  {
    auto held = x_.lock();
    if (XGetSelectionOwner(x_.display(), manager) == None) return;
    std::lock_guard lock(mutex_);
    std::vector<ClipboardFormat> formats;
    for (const auto& [format, bytes] : held_) formats.push_back(format);
    for (const std::string& name : targets_of_formats(table_, formats))
      if (!is_meta_target(name)) targets.push_back(static_cast<long>(atom(name)));
  }
  // The manager fetches the targets from Tolvan meanwhile; its answer ends the handover.
  convert_selection(manager, "SAVE_TARGETS", &targets);
}

// --- owning the selection ---

std::optional<unsigned long> X11Clipboard::server_time() {
  {
    auto held = x_.lock();
    std::lock_guard lock(mutex_);
    time_answer_.reset();
    // An empty append changes nothing but makes the server report the time of the change.
    unsigned char nothing = 0;
    XChangeProperty(x_.display(), window_, time_property_, XA_STRING, 8, PropModeAppend, &nothing, 0);
    XFlush(x_.display());
    x_.wake();
  }
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, step_timeout_, [this] { return time_answer_.has_value(); });
  return time_answer_;
}

bool X11Clipboard::take_ownership() {
  // ICCCM wants a real server time, so that late requests can be told from new ones.
  std::optional<unsigned long> time = server_time();
  if (!time) return false;
  auto held = x_.lock();
  Display* dpy = x_.display();
  XSetSelectionOwner(dpy, clipboard_atom_, window_, *time);
  const bool owner = XGetSelectionOwner(dpy, clipboard_atom_) == window_;
  x_.wake();
  std::lock_guard lock(mutex_);
  owner_ = owner;
  if (owner) {
    owned_since_ = *time;
    served_ = 0;
    fetcher_.reset();
    fetcher_requests_ = 0;
    fetcher_fetches_ = 0;
  }
  return owner;
}

// --- reading another owner's selection ---

std::optional<std::string> X11Clipboard::convert(const std::string& target_name) {
  return convert_selection(clipboard_atom_, target_name, nullptr);
}

std::optional<std::string> X11Clipboard::convert_selection(unsigned long selection, const std::string& target_name,
                                                           const std::vector<long>* request) {
  if (!ok()) return std::nullopt;
  std::lock_guard one_at_a_time(conversion_mutex_);
  // Callers retry a refusal quickly; an owner that has just let a request time out would
  // cost a whole step for every retry, so it is not asked again for a while.
  if (selection == clipboard_atom_ && Clock::now() < unresponsive_until_) return std::nullopt;
  const unsigned long target = atom(target_name);
  {
    auto held = x_.lock();
    std::lock_guard lock(mutex_);
    reading_ = Reading{};
    reading_.selection = selection;
    reading_.target = target;
    reading_.reply_only = request != nullptr;
    reading_.active = true;
    reading_.last = Clock::now();
    Display* dpy = x_.display();
    if (request)
      XChangeProperty(dpy, window_, reading_property_, atom_atom_, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(request->data()), static_cast<int>(request->size()));
    else
      XDeleteProperty(dpy, window_, reading_property_);
    XConvertSelection(dpy, selection, target, reading_property_, window_, CurrentTime);
    XFlush(dpy);
    x_.wake();
  }
  std::unique_lock lock(mutex_);
  // Each answer of the owner (the reply, every INCR chunk) buys another step of waiting.
  while (!reading_.done) {
    const auto deadline = reading_.last + step_timeout_;
    if (Clock::now() >= deadline) break;
    changed_.wait_until(lock, deadline);
  }
  const bool got = reading_.done && !reading_.failed;
  if (!reading_.done && selection == clipboard_atom_) unresponsive_until_ = Clock::now() + kUnresponsivePause;
  reading_.active = false;
  reading_.incr.reset();
  if (!got) return std::nullopt;
  return std::move(reading_.data);
}

std::optional<std::string> X11Clipboard::take_property(unsigned long* type) {
  Display* dpy = x_.display();
  Atom actual_type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* items = nullptr;
  const long length = static_cast<long>(kMaxSelectionBytes / 4);
  if (XGetWindowProperty(dpy, window_, reading_property_, 0, length, True, AnyPropertyType, &actual_type, &format,
                         &count, &after, &items) != Success)
    return std::nullopt;
  std::optional<std::string> bytes;
  if (after == 0 && actual_type != None) bytes = property_bytes(format, items, count);
  if (items) XFree(items);
  *type = actual_type;
  return bytes;
}

void X11Clipboard::on_selection_notify(XEvent& event) {
  const XSelectionEvent& e = event.xselection;
  if (e.requestor != window_) return;
  std::lock_guard lock(mutex_);
  if (!reading_.active || reading_.done || reading_.incr || e.selection != reading_.selection ||
      e.target != reading_.target)
    return;
  reading_.last = Clock::now();
  if (reading_.reply_only) {
    reading_.failed = e.property == None;
    reading_.done = true;
  } else if (e.property == None) {
    reading_.failed = reading_.done = true;
  } else {
    unsigned long type = None;
    std::optional<std::string> bytes = take_property(&type);
    if (!bytes) {
      reading_.failed = reading_.done = true;
    } else if (type == incr_atom_) {
      // Deleting the property (take_property did) asks the owner for the first chunk.
      std::vector<unsigned long> size = atoms_of_bytes(*bytes, 1);
      reading_.incr.emplace(size.empty() ? 0 : size[0]);
    } else {
      reading_.data = std::move(*bytes);
      reading_.done = true;
    }
  }
  changed_.notify_all();
}

void X11Clipboard::on_property_notify(XEvent& event) {
  const XPropertyEvent& e = event.xproperty;
  if (e.window != window_) {
    if (e.state == PropertyDelete) continue_outgoing(e.window, e.atom);
    return;
  }
  std::lock_guard lock(mutex_);
  if (e.atom == time_property_) {
    time_answer_ = e.time;
    changed_.notify_all();
    return;
  }
  if (e.atom != reading_property_ || e.state != PropertyNewValue || !reading_.active || !reading_.incr ||
      reading_.done)
    return;
  reading_.last = Clock::now();
  unsigned long type = None;
  std::optional<std::string> chunk = take_property(&type);
  if (!chunk) {
    reading_.failed = reading_.done = true;
  } else {
    switch (reading_.incr->add(*chunk)) {
      case IncrReceiver::Step::More:
        break;
      case IncrReceiver::Step::Done:
        reading_.data = reading_.incr->take();
        reading_.done = true;
        break;
      case IncrReceiver::Step::TooLarge:
        reading_.failed = reading_.done = true;
        break;
    }
  }
  changed_.notify_all();
}

// --- serving other programs ---

void X11Clipboard::handle(XEvent& event) {
  switch (event.type) {
    case SelectionRequest:
      on_selection_request(event);
      break;
    case SelectionNotify:
      on_selection_notify(event);
      break;
    case PropertyNotify:
      on_property_notify(event);
      break;
    case SelectionClear: {
      const XSelectionClearEvent& e = event.xselectionclear;
      std::lock_guard lock(mutex_);
      // A clear from before our latest claim is about an ownership we gave up already.
      if (e.selection == clipboard_atom_ && e.window == window_ && e.time >= owned_since_) {
        owner_ = false;
        held_.clear();
      }
      break;
    }
    default:
      break;
  }
  drop_stale_outgoing();
}

void X11Clipboard::on_selection_request(XEvent& event) {
  const XSelectionRequestEvent& request = event.xselectionrequest;
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = request.display;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.property = None;
  reply.time = request.time;
  Display* dpy = x_.display();
  XErrorTrap trap(dpy);  // the requestor may be gone by now
  {
    std::lock_guard lock(mutex_);
    // A clipboard manager fetching what Tolvan hands it over is progress of the handover.
    if (reading_.active && reading_.reply_only) reading_.last = Clock::now();
    const bool current = request.time == CurrentTime || request.time >= owned_since_;
    if (request.selection == clipboard_atom_ && owner_ && current) {
      // What a pasting application asks for, and when, tells why a paste went wrong in it;
      // the data itself is never logged.
      const std::optional<std::string> target = atom_name(request.target);
      g_log("Tolvan", G_LOG_LEVEL_DEBUG, "clipboard: window 0x%lx asks for %s", request.requestor,
            target ? target->c_str() : "an unnamed target");
      // Clients from before ICCCM 2 name no property: the target is the property then.
      const unsigned long property = request.property == None ? request.target : request.property;
      if (serve(request.requestor, property, request.target)) reply.property = property;
      if (fetcher_ == request.requestor) ++fetcher_requests_;
    }
  }
  XSendEvent(dpy, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
  if (trap.sync() != 0) {
    std::lock_guard lock(mutex_);
    outgoing_.erase({request.requestor, reply.property});
  }
}

bool X11Clipboard::serve(unsigned long requestor, unsigned long property, unsigned long target) {
  Display* dpy = x_.display();
  if (target == targets_atom_) {
    std::vector<ClipboardFormat> formats;
    for (const auto& [format, bytes] : held_) formats.push_back(format);
    std::vector<long> atoms;
    for (const std::string& name : targets_of_formats(table_, formats)) atoms.push_back(static_cast<long>(atom(name)));
    XChangeProperty(dpy, requestor, property, atom_atom_, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()), static_cast<int>(atoms.size()));
    return true;
  }
  if (target == timestamp_atom_) {
    long time = static_cast<long>(owned_since_);
    XChangeProperty(dpy, requestor, property, integer_atom_, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&time), 1);
    return true;
  }
  std::optional<std::string> name = atom_name(target);
  if (!name || is_meta_target(*name)) return false;  // MULTIPLE and the like are not offered
  Bytes data = data_for_target(*name);
  if (!data) return false;
  // TEXT lets the owner choose the encoding; Tolvan's is UTF-8.
  const unsigned long type = *name == "TEXT" ? utf8_atom_ : target;
  if (data->size() > incr_threshold_) {
    if (outgoing_.size() >= kMaxOutgoing) return false;
    XSelectInput(dpy, requestor, PropertyChangeMask);
    long size = static_cast<long>(data->size());
    XChangeProperty(dpy, requestor, property, incr_atom_, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&size), 1);
    outgoing_.insert_or_assign({requestor, property}, Outgoing{type, IncrSender(data, incr_threshold_), Clock::now()});
    return true;
  }
  XChangeProperty(dpy, requestor, property, type, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(data->data()), static_cast<int>(data->size()));
  served_in_full(requestor);
  return true;
}

void X11Clipboard::served_in_full(unsigned long requestor) {
  ++served_;
  if (!fetcher_) fetcher_ = requestor;
  if (*fetcher_ == requestor) ++fetcher_fetches_;
}

X11Clipboard::Bytes X11Clipboard::data_for_target(const std::string& target) const {
  // A format held under this very name wins: a backup put back serves what it read.
  if (std::optional<ClipboardFormat> format = table_.find(target)) {
    for (const auto& [f, bytes] : held_)
      if (f == *format) {
        if (f != kFormatUnicodeText) return bytes;
        return std::make_shared<const std::string>(clipboard_decode_unicode_text(*bytes));
      }
  }
  const bool alias = std::find(std::begin(kTextAliasTargets), std::end(kTextAliasTargets), target) !=
                     std::end(kTextAliasTargets);
  if (!alias) return nullptr;
  for (const auto& [f, bytes] : held_)
    if (f == kFormatUnicodeText) {
      std::string utf8 = clipboard_decode_unicode_text(*bytes);
      if (target == "STRING") return std::make_shared<const std::string>(clipboard_encode_latin1(utf8));
      return std::make_shared<const std::string>(std::move(utf8));
    }
  return nullptr;
}

void X11Clipboard::continue_outgoing(unsigned long requestor, unsigned long property) {
  std::lock_guard lock(mutex_);
  auto it = outgoing_.find({requestor, property});
  if (it == outgoing_.end()) return;
  Outgoing& out = it->second;
  Display* dpy = x_.display();
  XErrorTrap trap(dpy);
  std::string_view chunk = out.sender.next_chunk();
  XChangeProperty(dpy, requestor, property, out.type, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(chunk.data()), static_cast<int>(chunk.size()));
  out.last = Clock::now();
  const bool failed = trap.sync() != 0;
  if (out.sender.finished() || failed) {
    if (!failed) served_in_full(requestor);
    outgoing_.erase(it);
    const bool more_to_this_window =
        std::any_of(outgoing_.begin(), outgoing_.end(), [requestor](const auto& o) { return o.first.first == requestor; });
    if (!more_to_this_window && !failed && requestor != window_) XSelectInput(dpy, requestor, NoEventMask);
  }
  changed_.notify_all();
}

void X11Clipboard::drop_stale_outgoing() {
  std::lock_guard lock(mutex_);
  const auto now = Clock::now();
  std::erase_if(outgoing_, [now](const auto& o) { return now - o.second.last > kOutgoingIdle; });
}

// --- atoms ---

unsigned long X11Clipboard::atom(const std::string& name) {
  auto held = x_.lock();
  for (const auto& [a, n] : atom_names_)
    if (n == name) return a;
  const Atom a = XInternAtom(x_.display(), name.c_str(), False);
  if (a != None) atom_names_[a] = name;
  return a;
}

std::optional<std::string> X11Clipboard::atom_name(unsigned long atom) {
  auto held = x_.lock();
  if (auto it = atom_names_.find(atom); it != atom_names_.end()) return it->second;
  XErrorTrap trap(x_.display());  // an owner's TARGETS may name atoms that do not exist
  char* name = XGetAtomName(x_.display(), atom);
  const bool failed = trap.sync() != 0 || !name;
  std::optional<std::string> result;
  if (!failed) result = name;
  if (name) XFree(name);
  if (result) atom_names_[atom] = *result;
  return result;
}

}  // namespace tolvan::x11
