// tolvan-cli simulate: runs Tolvan's engine on the simulated desktop, types KEYS into a
// text window as a user of the chosen layout would, and prints what the window holds.
#include <ctime>
#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_session.h"
#include "cli/commands.h"
#include "cli/local_time.h"
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
    "  --swallow           keys Tolvan takes are kept from the window, as on Windows\n"
    "                      (by default they reach it, as on X11, and Tolvan erases them)\n"
    "  --show-caret        mark the caret with |\n"
    "  --events            also print the synthetic key events, after a line \"events:\"\n";

struct Options {
  std::string library;
  const sim::Layout* layout = &sim::us_layout();
  std::optional<std::time_t> now;
  std::optional<std::string> clipboard;
  bool swallow = false;
  bool show_caret = false;
  bool events = false;
  std::string keys;
};

constexpr OptionSpec kOptions[] = {
    {"--library", "a file"}, {"--layout", "a layout name"}, {"--now", "a time"},
    {"--clipboard", "a text"}, {"--swallow", ""}, {"--show-caret", ""}, {"--events", ""},
};

Result<Options> options_from(const Arguments& args) {
  Options o;
  if (args.positionals().empty()) return Error{"Say which KEYS to type."};
  if (args.positionals().size() > 1) return Error{unexpected_argument(args.positionals()[1])};
  o.keys = args.positionals()[0];
  o.library = args.value("--library").value_or("");
  if (std::optional<std::string> layout = args.value("--layout")) {
    if (*layout == "us") o.layout = &sim::us_layout();
    else if (*layout == "us-intl") o.layout = &sim::us_international_layout();
    else if (*layout == "de") o.layout = &sim::german_layout();
    else return Error{"Unknown layout '" + *layout + "': use us, us-intl or de."};
  }
  if (std::optional<std::string> now = args.value("--now")) {
    o.now = parse_local_time(*now);
    if (!o.now) return Error{"The time '" + *now + "' is not of the form YYYY-MM-DDTHH:MM:SS."};
  }
  o.clipboard = args.value("--clipboard");
  o.swallow = args.has("--swallow");
  o.show_caret = args.has("--show-caret");
  o.events = args.has("--events");
  return o;
}

}  // namespace

int run_simulate_command(const Invocation& inv) {
  const Arguments args(inv.args, {kOptions, UnknownOption::kUnexpected});
  if (args.help()) {
    inv.out << kUsage;
    return 0;
  }
  if (!args.problem().empty()) return usage_error(inv, "simulate", args.problem(), kUsage);
  Result<Options> options = options_from(args);
  if (!options) return usage_error(inv, "simulate", options.error(), kUsage);
  Session session(inv);
  // A missing or damaged library has been reported through the prompts.
  session.load_library(options->library);

  SimulationOptions sim_options;
  sim_options.layout = options->layout;
  sim_options.can_swallow = options->swallow;
  sim_options.now = options->now;
  Simulation simulation(session.library, session.prefs, sim_options);
  if (options->clipboard) simulation.desktop().clipboard().set_contents_text(*options->clipboard);
  simulation.desktop().log().clear();

  Status typed = simulation.keys(options->keys);
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
