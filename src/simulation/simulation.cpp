#include "simulation/simulation.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "core/utf.h"
#include "engine/macros/key_names.h"
#include "platform/vk_codes.h"

namespace tolvan {
namespace {

sim::DesktopOptions desktop_options(const SimulationOptions& options) {
  sim::DesktopOptions d;
  // A desktop that only observes keys also leaves dead keys to the application (X11).
  d.can_swallow = options.can_swallow;
  d.translation_consumes_dead_keys = options.can_swallow;
  return d;
}

// The key that types a character in the focused window's layout, for key names that are a
// character.
KeyLayoutLookup layout_lookup(sim::Desktop& desktop) {
  return [&desktop](char32_t ch) {
    if (ch > 0xFFFF) return -1;
    return int{desktop.vk_key_scan(static_cast<char16_t>(ch),
                                   desktop.layout_of(desktop.foreground()))};
  };
}

MacroEnvironment environment_for(sim::Desktop& desktop, const SimulationOptions& options) {
  MacroEnvironment env;
  if (options.now) {
    std::time_t now = *options.now;
    env.now = [now] { return now; };
  }
  env.clipboard_text = [&desktop] { return desktop.clipboard().text(); };
  return env;
}

}  // namespace

Simulation::Simulation(Library& library, Settings& prefs, SimulationOptions options)
    : desktop_(desktop_options(options)) {
  const sim::Layout& layout = options.layout ? *options.layout : sim::us_layout();
  window_ = desktop_.add_window("Edit", layout);
  other_ = desktop_.add_window("Notepad", layout);
  desktop_.focus(window_);
  if (options.tooltip_view && options.tooltip_timers)
    tooltip_ = std::make_unique<Tooltip>(*options.tooltip_view, *options.tooltip_timers, desktop_,
                                         environment_for(desktop_, options));
  engine_ = std::make_unique<Engine>(desktop_.platform(), library,
                                     environment_for(desktop_, options), tooltip_.get());
  engine_->prefs_reloaded(prefs);
  engine_->start();
  user_.set_before_key([this] { before_user_key(); });
}

void Simulation::before_user_key() {
  if (!stalled_) stalled_ = !settle();
}

Simulation::~Simulation() {
  settle(true);
  engine_.reset();
  if (tooltip_) tooltip_->destroy();
}

bool Simulation::settle(bool user_may_type) {
  using namespace std::chrono;
  const auto deadline = steady_clock::now() + seconds(30);
  while (steady_clock::now() < deadline) {
    desktop_.wait_input_idle();
    engine_->wait_output(user_may_type);
    desktop_.wait_input_idle();
    if (engine_->settled(user_may_type)) {
      // Settled twice in a row: nothing the engine posted itself was still on its way.
      desktop_.wait_input_idle();
      if (engine_->settled(user_may_type)) return true;
    }
    std::this_thread::sleep_for(microseconds(200));
  }
  return false;
}

std::string Simulation::text(bool show_caret) const {
  WindowId focused = const_cast<sim::Desktop&>(desktop_).foreground();
  return show_caret ? desktop_.text_with_caret(focused) : desktop_.text(focused);
}

Status Simulation::keys(std::string_view sequence) {
  const Error stalled{"Tolvan did not finish a replacement."};
  size_t i = 0;
  while (i < sequence.size()) {
    if (stalled_ || !settle()) return stalled;
    if (sequence.compare(i, 2, "{{") == 0 || sequence.compare(i, 2, "}}") == 0) {
      if (Status s = user_.type(sequence.substr(i, 1)); !s) return s;
      i += 2;
      continue;
    }
    if (sequence[i] == '{') {
      size_t close = sequence.find('}', i);
      if (close == std::string_view::npos)
        return Error{"A key name is not closed with '}': " + std::string(sequence.substr(i))};
      if (Status s = key_command(sequence.substr(i + 1, close - i - 1)); !s) return s;
      i = close + 1;
      continue;
    }
    std::optional<Utf8Char> c = utf8_char_at(sequence, i);
    const size_t length = c ? c->length : 1;
    if (Status s = user_.type(sequence.substr(i, length)); !s) return s;
    i += length;
  }
  if (stalled_ || !settle()) return stalled;
  return Status::success();
}

Status Simulation::key_command(std::string_view command) {
  if (command == "focus") {
    WindowId back = desktop_.foreground();
    desktop_.focus(back == other_ ? window_ : other_);
    desktop_.focus(back);
    return Status::success();
  }
  if (command == "click") {
    user_.click();
    return Status::success();
  }
  if (command.rfind("wait ", 0) == 0) {
    std::string number(command.substr(5));
    char* end = nullptr;
    unsigned long ms = std::strtoul(number.c_str(), &end, 10);
    if (number.empty() || *end != '\0') return Error{"{wait N} needs a number of milliseconds."};
    user_.wait(ms);
    return Status::success();
  }
  std::string_view name = command;
  int action = 0;  // 0 tap, 1 down, 2 up
  if (name.ends_with(" down")) {
    action = 1;
    name.remove_suffix(5);
  } else if (name.ends_with(" up")) {
    action = 2;
    name.remove_suffix(3);
  }
  VkCode code = key_name_to_vk_action(name, layout_lookup(desktop_));
  if (code.vk == 0) return Error{"There is no key named '" + std::string(name) + "'."};
  const auto key = static_cast<uint16_t>(code.vk);
  if (action != 2) user_.press(key);
  if (action != 1) user_.release(key);
  return Status::success();
}

}  // namespace tolvan
