// The simulated desktop: its windows and the journey of each input event.
#include "platform/sim/desktop.h"

#include "platform/vk_codes.h"

namespace tolvan::sim {

namespace {
constexpr int kCharWidth = 8;
constexpr int kLineHeight = 16;
}  // namespace

Desktop::Desktop(DesktopOptions options) : options_(options) {
  // Input is handled in no virtual time: a program that sent keys and then sleeps finds
  // them handled when it wakes, as it would on a real desktop after a real wait.
  clock_.set_before_sleep([this] {
    std::unique_lock lock(mutex_);
    if (draining_ && drainer_ == std::this_thread::get_id()) return;
    idle_.wait(lock, [&] { return !draining_ && queue_.empty(); });
    run_due_pastes();
  });
}

Platform Desktop::platform() {
  Platform p;
  p.hook = this;
  p.keyboard = this;
  p.input = this;
  p.clipboard = &clipboard_;
  p.primary = &primary_;
  p.windows = this;
  p.sound = this;
  p.clock = &clock_;
  p.hotkeys = this;
  return p;
}

// --- windows ---

Desktop::Window* Desktop::find(WindowId window) {
  for (auto& w : windows_)
    if (w->id == window) return w.get();
  return nullptr;
}

const Desktop::Window* Desktop::find(WindowId window) const {
  for (auto& w : windows_)
    if (w->id == window) return w.get();
  return nullptr;
}

const Layout& Desktop::focused_layout() const {
  const Window* w = find(focused_);
  return w ? *w->layout : us_layout();
}

WindowId Desktop::add_window(const std::string& class_name, const Layout& layout,
                             const std::string& text) {
  std::lock_guard lock(mutex_);
  auto w = std::make_unique<Window>();
  w->id = next_id_++;
  w->class_name = class_name;
  w->layout = &layout;
  int index = static_cast<int>(windows_.size());
  w->frame = {100 + index * 700, 100, 100 + index * 700 + 640, 580};
  w->field.set_text(text);
  Window* raw = w.get();
  w->field.read_clipboard = [this, raw]() -> std::optional<std::string> {
    if (raw->paste_delay_ms > 0 && !raw->pasting_late) {
      if (raw->fetches_twice) {
        // A look, not the paste; then, as Chromium does, a question about the formats.
        (void)clipboard_.text_for_paste();
        clipboard_.ask_formats();
      }
      raw->paste_due = clock_.now_ms() + raw->paste_delay_ms;
      return std::nullopt;
    }
    return clipboard_.text_for_paste();
  };
  w->field.write_clipboard = [this](const std::string& copied) { clipboard_.set_contents_text(copied); };
  w->field.read_primary = [this] { return primary_.text_for_paste(); };
  windows_.push_back(std::move(w));
  return windows_.back()->id;
}

void Desktop::focus(WindowId window) {
  std::lock_guard lock(mutex_);
  focused_ = find(window) ? window : 0;
}

void Desktop::close_window(WindowId window) {
  std::lock_guard lock(mutex_);
  std::erase_if(windows_, [&](const auto& w) { return w->id == window; });
  if (focused_ == window) focused_ = 0;
}

void Desktop::set_layout(WindowId window, const Layout& layout) {
  std::lock_guard lock(mutex_);
  if (Window* w = find(window)) w->layout = &layout;
}

void Desktop::set_paste_delay(WindowId window, uint32_t ms) {
  std::lock_guard lock(mutex_);
  if (Window* w = find(window)) w->paste_delay_ms = ms;
}

void Desktop::set_fetches_twice(WindowId window, bool twice) {
  std::lock_guard lock(mutex_);
  if (Window* w = find(window)) w->fetches_twice = twice;
}

void Desktop::run_due_pastes() {
  for (auto& w : windows_) {
    if (!w->paste_due || *w->paste_due > clock_.now_ms()) continue;
    w->paste_due.reset();
    w->pasting_late = true;
    w->field.char_received(0x16);  // the Ctrl+V it put off
    w->pasting_late = false;
  }
}

void Desktop::set_reports_caret(WindowId window, bool reports) {
  std::lock_guard lock(mutex_);
  if (Window* w = find(window)) w->reports_caret = reports;
}

std::string Desktop::text(WindowId window) const {
  std::lock_guard lock(mutex_);
  const Window* w = find(window);
  return w ? w->field.text() : std::string();
}

std::string Desktop::text_with_caret(WindowId window) const {
  std::lock_guard lock(mutex_);
  const Window* w = find(window);
  return w ? w->field.text_with_caret() : std::string();
}

std::string Desktop::text_with_selection(WindowId window) const {
  std::lock_guard lock(mutex_);
  const Window* w = find(window);
  return w ? w->field.text_with_selection() : std::string();
}

void Desktop::set_text(WindowId window, const std::string& utf8) {
  std::lock_guard lock(mutex_);
  if (Window* w = find(window)) w->field.set_text(utf8);
}

void Desktop::with_field(WindowId window, const std::function<void(TextField&)>& fn) {
  std::lock_guard lock(mutex_);
  if (Window* w = find(window)) fn(w->field);
}

// --- the user ---

std::vector<Desktop::InputItem> Desktop::key_items(uint16_t vk, uint16_t scan, bool extended,
                                                   bool down, bool injected) const {
  auto item = [&](uint16_t code, uint16_t sc, bool ext) {
    InputItem i;
    i.key.vk = code;
    i.key.scan = sc;
    i.key.extended = ext;
    i.key.injected = injected;
    i.key.message = down ? KeyMessage::KeyDown : KeyMessage::KeyUp;  // settled when handled
    return i;
  };
  std::vector<InputItem> items;
  bool altgr = vk == vk::RMenu && focused_layout().has_altgr;
  if (altgr && down) items.push_back(item(vk::LControl, kAltGrControlScan, false));
  items.push_back(item(vk, scan, extended));
  if (altgr && !down) items.push_back(item(vk::LControl, kAltGrControlScan, false));
  return items;
}

void Desktop::user_key(uint16_t vk, bool down) {
  // A keyboard has no generic modifier key: those codes mean the left one.
  if (vk == vk::Shift) vk = vk::LShift;
  if (vk == vk::Control) vk = vk::LControl;
  if (vk == vk::Menu) vk = vk::LMenu;
  std::vector<InputItem> items;
  {
    std::lock_guard lock(mutex_);
    keys_.set_physical(vk, down);
    uint16_t scan = static_cast<uint16_t>(map_key(focused_layout(), vk, MapType::VkToScanEx));
    items = key_items(vk, scan & 0xFF, is_extended_scan(scan), down, false);
  }
  enqueue(std::move(items));
}

void Desktop::user_click(MouseButton button) {
  InputItem press;
  press.kind = InputItem::Kind::Mouse;
  press.mouse = {button, true};
  InputItem release = press;
  release.mouse.down = false;
  enqueue({press, release});
}

bool Desktop::user_holds(uint16_t vk) const {
  std::lock_guard lock(mutex_);
  return keys_.physically_down(vk);
}

bool Desktop::caps_lock_on() const {
  std::lock_guard lock(mutex_);
  return keys_.toggled(vk::Capital);
}

bool Desktop::keyboard_hook_installed() const {
  std::lock_guard lock(mutex_);
  return static_cast<bool>(keyboard_callback_);
}

int Desktop::pops_played() const {
  std::lock_guard lock(mutex_);
  return pops_;
}

std::vector<int> Desktop::hotkey_presses() const {
  std::lock_guard lock(mutex_);
  return hotkey_presses_;
}

// --- the input stream ---

void Desktop::enqueue(std::vector<InputItem> items) {
  std::unique_lock lock(mutex_);
  // Sent from inside a hook callback: handled at once, the callback being called again
  // before the send returns, as a low-level hook is for its own thread's input. A desktop
  // that only observes keys shows the hook an event once it has been delivered, so what the
  // hook sends in answer comes after it, as on X11, and joins the stream.
  if (options_.can_swallow && draining_ && drainer_ == std::this_thread::get_id() &&
      callback_depth_ > 0 && callback_depth_ < kMaxCallbackDepth) {
    lock.unlock();
    for (auto& item : items) handle(item);
    return;
  }
  for (auto& item : items) queue_.push_back(std::move(item));
  if (draining_) return;  // the thread handling the stream will come to them
  draining_ = true;
  drainer_ = std::this_thread::get_id();
  while (!queue_.empty()) {
    InputItem item = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    handle(item);
    lock.lock();
  }
  draining_ = false;
  idle_.notify_all();
}

void Desktop::wait_input_idle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [&] { return !draining_ && queue_.empty(); });
}

void Desktop::handle(InputItem& item) {
  switch (item.kind) {
    case InputItem::Kind::Key:
      handle_key(item.key);
      break;
    case InputItem::Kind::Mouse:
      handle_mouse(item.mouse);
      break;
    case InputItem::Kind::PostedChar: {
      std::lock_guard lock(mutex_);
      LoggedEvent logged;
      logged.kind = LoggedEvent::Kind::PostedChar;
      logged.posted = item.posted;
      logged.key.time_ms = clock_.now_ms();
      logged.window = item.post_to;
      if (Window* w = find(item.post_to)) w->field.char_received(item.posted);
      else logged.fate = EventFate::NoWindow;
      log_.add(logged);
      break;
    }
  }
}

KeyMessage Desktop::message_for(uint16_t vk, bool down) const {
  // Windows sends the system messages while Alt is held without Ctrl, and for F10.
  bool alt = keys_.down(vk::Menu) || vk::is_alt(vk);
  bool ctrl = keys_.down(vk::Control) && !vk::is_control(vk);
  bool sys = (alt && !ctrl) || vk == vk::F10;
  if (sys) return down ? KeyMessage::SysKeyDown : KeyMessage::SysKeyUp;
  return down ? KeyMessage::KeyDown : KeyMessage::KeyUp;
}

template <class Callback, class Event>
auto Desktop::call_hook(const Callback& callback, const Event& event) {
  struct Depth {
    Desktop& desktop;
    explicit Depth(Desktop& d) : desktop(d) {
      std::lock_guard lock(desktop.mutex_);
      ++desktop.callback_depth_;
    }
    ~Depth() {
      std::lock_guard lock(desktop.mutex_);
      --desktop.callback_depth_;
    }
  } depth(*this);
  return callback(event);
}

void Desktop::handle_key(KeyEvent& event) {
  KeyCallback callback;
  bool grabbed;
  {
    std::lock_guard lock(mutex_);
    event.time_ms = clock_.now_ms();
    event.message = message_for(event.vk, event.down());
    callback = keyboard_callback_;
    grabbed = grabbed_.count(event.vk) > 0;
  }
  HookAnswer answer = callback ? call_hook(callback, event) : HookAnswer::Pass;

  std::optional<int> hotkey;
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    LoggedEvent logged;
    logged.key = event;
    logged.hook_saw = static_cast<bool>(callback);
    logged.window = focused_;
    if (grabbed) {
      logged.fate = EventFate::Grabbed;
    } else if (answer == HookAnswer::Swallow && options_.can_swallow) {
      logged.fate = EventFate::Swallowed;
    } else {
      keys_.apply(event.vk, event.down());
      hotkey = event.down() ? hotkey_for(event) : std::nullopt;
      Window* w = find(focused_);
      if (hotkey) {
        logged.fate = EventFate::Hotkey;
        hotkey_presses_.push_back(*hotkey);
        handler = hotkey_handler_;
      } else if (!w) {
        logged.fate = EventFate::NoWindow;
      } else {
        deliver_to_application(event, *w);
      }
    }
    log_.add(logged);
  }
  if (hotkey && handler) handler(*hotkey);
}

void Desktop::deliver_to_application(const KeyEvent& event, Window& window) {
  if (event.vk == vk::Packet) {
    if (event.down()) window.field.char_received(event.scan);
    return;
  }
  // Key-ups, and keys pressed with Alt held (system keys), make no edit.
  if (event.message != KeyMessage::KeyDown) return;
  window.field.key_down(event.vk, keys_.down(vk::Shift), keys_.down(vk::Control));
  std::u16string chars;
  if (translate_key(*window.layout, window.dead, event.vk, keys_.logical(), chars) > 0)
    for (char16_t unit : chars) window.field.char_received(unit);
}

std::optional<int> Desktop::hotkey_for(const KeyEvent& event) const {
  if (vk::is_shift(event.vk) || vk::is_control(event.vk) || vk::is_alt(event.vk)) return std::nullopt;
  uint32_t held = (keys_.down(vk::Menu) ? kModAlt : 0) | (keys_.down(vk::Control) ? kModControl : 0) |
                  (keys_.down(vk::Shift) ? kModShift : 0) |
                  (keys_.down(vk::LWin) || keys_.down(vk::RWin) ? kModWin : 0);
  for (const auto& [id, hotkey] : hotkeys_)
    if (hotkey.vk == event.vk && hotkey.modifiers == held) return id;
  return std::nullopt;
}

void Desktop::handle_mouse(const MouseEvent& event) {
  MouseCallback callback;
  {
    std::lock_guard lock(mutex_);
    callback = mouse_callback_;
  }
  if (callback) call_hook(callback, event);
  std::lock_guard lock(mutex_);
  LoggedEvent logged;
  logged.kind = LoggedEvent::Kind::Mouse;
  logged.mouse = event;
  logged.key.time_ms = clock_.now_ms();
  logged.hook_saw = static_cast<bool>(callback);
  logged.window = focused_;
  log_.add(logged);
}

// --- KeyboardHook ---

Status Desktop::install_keyboard(KeyCallback callback) {
  std::lock_guard lock(mutex_);
  if (fail_next_install_) {
    fail_next_install_ = false;
    return Error{"Could not install the keyboard hook."};
  }
  keyboard_callback_ = std::move(callback);
  return Status::success();
}

Status Desktop::uninstall_keyboard() {
  std::lock_guard lock(mutex_);
  if (fail_next_uninstall_) {
    fail_next_uninstall_ = false;
    return Error{"Could not remove the keyboard hook."};
  }
  keyboard_callback_ = nullptr;
  return Status::success();
}

Status Desktop::install_mouse(MouseCallback callback) {
  std::lock_guard lock(mutex_);
  if (fail_next_install_) {
    fail_next_install_ = false;
    return Error{"Could not install the mouse hook."};
  }
  mouse_callback_ = std::move(callback);
  return Status::success();
}

Status Desktop::uninstall_mouse() {
  std::lock_guard lock(mutex_);
  if (fail_next_uninstall_) {
    fail_next_uninstall_ = false;
    return Error{"Could not remove the mouse hook."};
  }
  mouse_callback_ = nullptr;
  return Status::success();
}

Status Desktop::grab_key(uint16_t vk) {
  std::lock_guard lock(mutex_);
  grabbed_.insert(vk);
  return Status::success();
}

void Desktop::ungrab_key(uint16_t vk) {
  std::lock_guard lock(mutex_);
  grabbed_.erase(vk);
}

// --- KeyboardState ---

std::optional<KeyStateArray> Desktop::keyboard_state() {
  std::lock_guard lock(mutex_);
  if (keyboard_state_fails_) return std::nullopt;
  return keys_.logical();
}

uint8_t Desktop::key_state(uint16_t vk) {
  std::lock_guard lock(mutex_);
  return vk > 0xFF ? 0 : keys_.logical()[vk] & (kKeyDownBit | kKeyToggledBit);
}

bool Desktop::async_down(uint16_t vk) {
  std::lock_guard lock(mutex_);
  return vk <= 0xFF && keys_.down(vk);
}

LayoutId Desktop::layout_of(WindowId window) {
  std::lock_guard lock(mutex_);
  const Window* w = find(window);
  return w ? w->layout->id : us_layout().id;
}

namespace {
const Layout& layout_or_us(LayoutId id) {
  const Layout* layout = layout_by_id(id);
  return layout ? *layout : us_layout();
}
}  // namespace

int Desktop::to_unicode(uint16_t vk, uint16_t scan, const KeyStateArray& state,
                        std::u16string& out, LayoutId layout) {
  std::lock_guard lock(mutex_);
  if (vk == vk::Packet) {
    out = std::u16string(1, scan);
    return 1;
  }
  // Translation with the foreground window's thread state, as the hook attached to it.
  Window* w = find(focused_);
  DeadKeyState& dead = !options_.translation_consumes_dead_keys ? hook_dead_
                       : w                                       ? w->dead
                                                                 : no_window_dead_;
  return translate_key(layout_or_us(layout), dead, vk, state, out);
}

int16_t Desktop::vk_key_scan(char16_t ch, LayoutId layout) { return scan_char(layout_or_us(layout), ch); }

bool Desktop::is_dead_key(int16_t key_scan, LayoutId layout) {
  return scan_is_dead(layout_or_us(layout), key_scan);
}

uint32_t Desktop::map_virtual_key(uint32_t code, MapType type, LayoutId layout) {
  return map_key(layout_or_us(layout), code, type);
}

// --- InputSynth ---

void Desktop::send_key(uint16_t vk, uint16_t scan, uint32_t flags) {
  if (keys_paced_) ++paced_key_events_;
  bool up = flags & kKeyUp;
  bool extended = flags & kKeyExtended;
  if (flags & kKeyUnicode) {
    InputItem item;
    item.key.vk = vk::Packet;
    item.key.scan = scan;
    item.key.injected = true;
    item.key.message = up ? KeyMessage::KeyUp : KeyMessage::KeyDown;
    enqueue({item});
    return;
  }
  if (vk == 0) return;
  // The left/right key a generic modifier code stands for, as Windows resolves it.
  if (vk == vk::Shift) vk = (scan & 0xFF) == 0x36 ? vk::RShift : vk::LShift;
  if (vk == vk::Control) vk = extended ? vk::RControl : vk::LControl;
  if (vk == vk::Menu) vk = extended ? vk::RMenu : vk::LMenu;
  std::vector<InputItem> items;
  {
    std::lock_guard lock(mutex_);
    items = key_items(vk, scan, extended, !up, true);
  }
  enqueue(std::move(items));
}

bool Desktop::post_char(WindowId window, char16_t unit) {
  {
    std::lock_guard lock(mutex_);
    if (!find(window)) return false;
  }
  InputItem item;
  item.kind = InputItem::Kind::PostedChar;
  item.post_to = window;
  item.posted = unit;
  enqueue({item});
  return true;
}

// --- Windows ---

WindowId Desktop::foreground() {
  std::lock_guard lock(mutex_);
  return focused_;
}

std::string Desktop::class_name(WindowId window) {
  std::lock_guard lock(mutex_);
  const Window* w = find(window);
  return w ? w->class_name : std::string();
}

std::optional<Caret> Desktop::caret() {
  std::lock_guard lock(mutex_);
  const Window* w = find(focused_);
  if (!w) return std::nullopt;
  Caret caret;
  caret.window = w->id;
  if (!w->reports_caret) {
    caret.rect = {w->frame.left, w->frame.top, w->frame.left, w->frame.top};
    return caret;
  }
  int left = w->frame.left + kCharWidth * static_cast<int>(w->field.caret_column());
  int top = w->frame.top + kLineHeight * static_cast<int>(w->field.caret_line());
  caret.rect = {left, top, left + 1, top + kLineHeight};
  caret.reported = true;
  return caret;
}

bool Desktop::focus_is_secret() {
  std::lock_guard lock(mutex_);
  const Window* w = find(focused_);
  return w && w->field.secret();
}

bool Desktop::bring_to_front(WindowId window) {
  std::lock_guard lock(mutex_);
  if (!find(window)) return false;
  focused_ = window;
  return true;
}

// --- Sound, Hotkeys ---

void Desktop::play_pop() {
  std::lock_guard lock(mutex_);
  ++pops_;
}

void Desktop::set_handler(Handler handler) {
  std::lock_guard lock(mutex_);
  hotkey_handler_ = std::move(handler);
}

bool Desktop::register_hotkey(int id, uint32_t modifiers, uint16_t vk) {
  std::lock_guard lock(mutex_);
  if (vk == 0) return false;
  for (const auto& [other, hotkey] : hotkeys_)
    if (other != id && hotkey.vk == vk && hotkey.modifiers == modifiers) return false;
  hotkeys_[id] = {modifiers, vk};
  return true;
}

void Desktop::unregister_hotkey(int id) {
  std::lock_guard lock(mutex_);
  hotkeys_.erase(id);
}

}  // namespace tolvan::sim
