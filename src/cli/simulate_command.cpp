// tolvan-cli simulate: runs Tolvan's engine on the simulated desktop, types KEYS into a
// text window as a user of the chosen layout would, and prints what the window holds.
#include <ctime>
#include <ostream>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "platform/sim/event_log.h"
#include "simulation/simulation.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli [--config-dir DIR] simulate [OPTIONS] KEYS\n\n"
    "Runs Tolvan's engine on a simulated desktop: KEYS are typed into a text window, and\n"
    "the window's text is printed once every expansion has finished. The preferences come\n"
    "from the configured folder, as the program reads them.\n\n"
    "KEYS: plain characters are typed with the keys that make them on the layout (Caps\n"
    "Lock off; an accented letter as its dead key and the letter where the layout has\n"
    "one); {Name} taps a key of the key-macro table ({Tab}, {Enter}, {Ctrl}, {LCtrl},\n"
    "{Left}, {Esc}, {CapsLock}, {BkSp}, {Shift}, ...); {Name down} and {Name up} press and\n"
    "release it; {focus} switches to another window and back; {click} clicks the mouse;\n"
    "{wait N} lets N milliseconds pass; {{ and }} type braces. Each key is typed once\n"
    "Tolvan is idle or waits for an interactive input.\n\n"
    "Options:\n"
    "  --library FILE      the abbreviation file (default: the configured library)\n"
    "  --layout NAME       us (default), us-intl or de\n"
    "  --now TIME          the time the date macros see, as YYYY-MM-DDTHH:MM:SS\n"
    "  --clipboard TEXT    the clipboard's text first; its final text is printed after a\n"
    "                      line \"clipboard:\"\n"
    "  --no-swallow        keys cannot be swallowed (as on X11); Tolvan compensates\n"
    "  --show-caret        mark the caret with |\n"
    "  --events            also print the synthetic key events, after a line \"events:\"\n";

struct Options {
  std::string library;
  const sim::Layout* layout = &sim::us_layout();
  std::optional<std::time_t> now;
  std::optional<std::string> clipboard;
  bool no_swallow = false;
  bool show_caret = false;
  bool events = false;
  std::optional<std::string> keys;
};

std::optional<std::time_t> parse_time(const std::string& text) {
  std::tm tm{};
  char extra = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                  &tm.tm_hour, &tm.tm_min, &tm.tm_sec, &extra) != 6)
    return std::nullopt;
  tm.tm_year -= 1900;
  tm.tm_mon -= 1;
  tm.tm_isdst = -1;
  std::time_t t = std::mktime(&tm);
  if (t == static_cast<std::time_t>(-1)) return std::nullopt;
  return t;
}

Result<Options> parse(const std::vector<std::string>& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](const char* what) -> Result<std::string> {
      if (i + 1 >= args.size()) return Error{a + " needs " + what + "."};
      return args[++i];
    };
    if (a == "--library") {
      auto v = value("a file");
      if (!v) return Error{v.error()};
      o.library = *v;
    } else if (a == "--layout") {
      auto v = value("a layout name");
      if (!v) return Error{v.error()};
      if (*v == "us") o.layout = &sim::us_layout();
      else if (*v == "us-intl") o.layout = &sim::us_international_layout();
      else if (*v == "de") o.layout = &sim::german_layout();
      else return Error{"Unknown layout '" + *v + "': use us, us-intl or de."};
    } else if (a == "--now") {
      auto v = value("a time");
      if (!v) return Error{v.error()};
      o.now = parse_time(*v);
      if (!o.now) return Error{"The time '" + *v + "' is not of the form YYYY-MM-DDTHH:MM:SS."};
    } else if (a == "--clipboard") {
      auto v = value("a text");
      if (!v) return Error{v.error()};
      o.clipboard = *v;
    } else if (a == "--no-swallow") {
      o.no_swallow = true;
    } else if (a == "--show-caret") {
      o.show_caret = true;
    } else if (a == "--events") {
      o.events = true;
    } else if (!o.keys && (a.empty() || a[0] != '-' || a == "-")) {
      o.keys = a;
    } else {
      return Error{"Unexpected argument '" + a + "'."};
    }
  }
  if (!o.keys) return Error{"Say which KEYS to type."};
  return o;
}

}  // namespace

int run_simulate_command(const Invocation& inv) {
  if (!inv.args.empty() && (inv.args[0] == "--help" || inv.args[0] == "-h")) {
    inv.out << kUsage;
    return 0;
  }
  Result<Options> options = parse(inv.args);
  if (!options) {
    inv.err << "tolvan-cli simulate: " << options.error() << "\n" << kUsage;
    return 2;
  }
  Session session(inv);
  // A missing or damaged library has been reported through the prompts.
  session.load_library(options->library);

  SimulationOptions sim_options;
  sim_options.layout = options->layout;
  sim_options.can_swallow = !options->no_swallow;
  sim_options.now = options->now;
  Simulation simulation(session.library, session.prefs, sim_options);
  if (options->clipboard) simulation.desktop().clipboard().set_contents_text(*options->clipboard);
  simulation.desktop().log().clear();

  Status typed = simulation.keys(*options->keys);
  if (!simulation.settle(true)) typed = Error{"Tolvan did not finish a replacement."};
  inv.out << simulation.text(options->show_caret) << "\n";
  if (options->clipboard) {
    inv.out << "clipboard:\n" << simulation.desktop().clipboard().text().value_or("") << "\n";
  }
  if (options->events) {
    inv.out << "events:\n" << sim::EventLog::format(simulation.desktop().log().injected());
  }
  if (!typed) {
    inv.err << "tolvan-cli simulate: " << typed.error() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace tolvan::cli
