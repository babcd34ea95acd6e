// tolvan-cli macro: run the insertion macros of a text, convert to and from TextExpander's
// codes, and show the key actions of a Key macro, for people writing expansions.
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <locale.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/local_time.h"
#include "engine/macros/key_names.h"
#include "engine/macros/insertion.h"
#include "engine/macros/textexpander_codes.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli macro COMMAND [ARGUMENTS]\n\n"
    "Works with the macros of expansions.\n\n"
    "Commands:\n"
    "  expand [--now YYYY-MM-DDTHH:MM:SS] [--clipboard TEXT] TEXT\n"
    "                  run the insertion macros (dates, times, clipboard, cursor) of TEXT\n"
    "  from-te TEXT    convert TextExpander codes in TEXT to Tolvan macros\n"
    "  to-te TEXT      convert Tolvan macros in TEXT to TextExpander codes\n"
    "  keys KEYS [COUNT]\n"
    "                  show the key actions of %(Key KEYS COUNT)\n\n"
    "Run 'tolvan-cli macro COMMAND --help' for a command's own help.\n";

constexpr const char* kExpandUsage =
    "Usage: tolvan-cli macro expand [--now YYYY-MM-DDTHH:MM:SS] [--clipboard TEXT] TEXT\n\n"
    "Prints TEXT with its insertion macros replaced, then a line 'cursor-back: N' giving\n"
    "how many characters the caret moves back from the end for a %(cursor) mark.\n"
    "Dates and times use the locale of the environment (LC_ALL, LC_TIME, LANG).\n\n"
    "Options:\n"
    "  --now TIME        take TIME (local time) as the current time\n"
    "  --clipboard TEXT  the clipboard's text for %(clipboard) (empty when not given)\n";

constexpr const char* kFromTeUsage =
    "Usage: tolvan-cli macro from-te TEXT\n\n"
    "Prints TEXT with its TextExpander codes (%d, %|, %fill:name%, %@+3D, ...) converted\n"
    "to Tolvan macros.\n";

constexpr const char* kToTeUsage =
    "Usage: tolvan-cli macro to-te TEXT\n\n"
    "Prints TEXT with its Tolvan macros (%(Day), %(cursor), %(Input name), %(AddDays 3), ...)\n"
    "converted to TextExpander codes.\n";

constexpr const char* kKeysUsage =
    "Usage: tolvan-cli macro keys KEYS [COUNT]\n\n"
    "Prints the key actions of the macro %(Key KEYS COUNT): a line 'repeat: N', then one\n"
    "line per action, 'press', 'release' or 'tap', the virtual-key code and 'extended'\n"
    "for extended keys. KEYS is one key name or several joined by '+' (Ctrl+Shift+End);\n"
    "COUNT defaults to 1. Short names missing from the key table need a keyboard layout,\n"
    "which the command line does not have: they show as 0x00.\n";

constexpr std::string_view kCommand = "macro";

// The one TEXT of a subcommand that takes only that; nullopt when the subcommand ends here
// (its help, or a usage error), with the exit status in `status`.
std::optional<std::string> single_text(const Invocation& inv, const Arguments& args,
                                       const char* usage, int& status) {
  if (args.help()) {
    inv.out << usage;
    status = 0;
  } else if (!args.problem().empty()) {
    status = usage_error(inv, kCommand, args.problem(), usage);
  } else if (args.positionals().size() != 1) {
    status = usage_error(inv, kCommand,
                         args.positionals().empty() ? "a TEXT is needed." : "only one TEXT is taken.",
                         usage);
  } else {
    return args.positionals()[0];
  }
  return std::nullopt;
}

bool all_digits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Date and time names in the environment's locale for as long as it lives, without
// touching the process-wide locale.
class EnvironmentTimeLocale {
 public:
  EnvironmentTimeLocale() : locale_(newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", nullptr)) {
    if (locale_ != nullptr) previous_ = uselocale(locale_);
  }
  ~EnvironmentTimeLocale() {
    if (locale_ != nullptr) {
      uselocale(previous_);
      freelocale(locale_);
    }
  }
  EnvironmentTimeLocale(const EnvironmentTimeLocale&) = delete;
  EnvironmentTimeLocale& operator=(const EnvironmentTimeLocale&) = delete;

 private:
  locale_t locale_;
  locale_t previous_ = nullptr;
};

constexpr OptionSpec kExpandOptions[] = {{"--now", "a time"}, {"--clipboard", "a text"}};

int run_expand(const Invocation& inv) {
  const Arguments args(subcommand_arguments(inv), {kExpandOptions});
  int status = 0;
  std::optional<std::string> text = single_text(inv, args, kExpandUsage, status);
  if (!text) return status;
  std::optional<std::time_t> now;
  if (std::optional<std::string> given = args.value("--now")) {
    now = parse_local_time(*given);
    if (!now) {
      return usage_error(
          inv, kCommand,
          "'" + *given + "' is not a valid local time; write it as YYYY-MM-DDTHH:MM:SS.",
          kExpandUsage);
    }
  }
  std::optional<std::string> clipboard = args.value("--clipboard");

  MacroEnvironment env;
  if (now) env.now = [t = *now] { return t; };
  env.clipboard_text = [clipboard] { return clipboard; };
  EnvironmentTimeLocale locale;
  InsertionResult result = insertion_macros_execute(*text, env);
  inv.out << result.text << "\n" << "cursor-back: " << result.cursor_back << "\n";
  return 0;
}

int run_conversion(const Invocation& inv, bool to_tolvan) {
  const Arguments args(subcommand_arguments(inv), {});
  int status = 0;
  std::optional<std::string> text =
      single_text(inv, args, to_tolvan ? kFromTeUsage : kToTeUsage, status);
  if (!text) return status;
  inv.out << (to_tolvan ? te_macros_to_tolvan_macros(*text) : tolvan_macros_to_te_macros(*text))
          << "\n";
  return 0;
}

const char* action_word(KeyActionKind kind) {
  switch (kind) {
    case KeyActionKind::kPress: return "press";
    case KeyActionKind::kRelease: return "release";
    case KeyActionKind::kPressAndRelease: return "tap";
  }
  return "tap";
}

int run_keys(const Invocation& inv) {
  const Arguments args(subcommand_arguments(inv), {});
  if (args.help()) {
    inv.out << kKeysUsage;
    return 0;
  }
  if (!args.problem().empty()) return usage_error(inv, kCommand, args.problem(), kKeysUsage);
  const std::vector<std::string>& rest = args.positionals();
  if (rest.empty() || rest[0].empty()) {
    return usage_error(inv, kCommand, "KEYS are needed.", kKeysUsage);
  }
  if (rest.size() > 2) {
    return usage_error(inv, kCommand, "only KEYS and a COUNT are taken.", kKeysUsage);
  }
  int count = 1;
  if (rest.size() == 2) {
    const std::string& c = rest[1];
    if (c.empty() || c.size() > 9 || !all_digits(c)) {
      return usage_error(inv, kCommand, "COUNT must be a whole number, not '" + c + "'.",
                         kKeysUsage);
    }
    count = std::stoi(c);
  }
  KeyActionGroup group =
      key_name_to_vks_and_actions(rest[0], KeyActionKind::kPressAndRelease, count, nullptr);
  inv.out << "repeat: " << group.repeat << "\n";
  for (const KeyAction& action : group.actions) {
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", action.vk);
    inv.out << action_word(action.action) << " " << code << (action.extended ? " extended" : "")
            << "\n";
  }
  return 0;
}

}  // namespace

int run_macro_command(const Invocation& inv) {
  if (std::optional<int> status = group_usage_requested(inv, kUsage)) return *status;
  const std::string& command = inv.args[0];
  if (command == "expand") return run_expand(inv);
  if (command == "from-te") return run_conversion(inv, true);
  if (command == "to-te") return run_conversion(inv, false);
  if (command == "keys") return run_keys(inv);
  return usage_error(inv, kCommand, "unknown command '" + command + "'.", kUsage);
}

}  // namespace tolvan::cli
