// tolvan-cli macro: run the insertion macros of a text, convert to and from TextExpander's
// codes, and show the key actions of a Key macro, for people writing expansions.
#include <clocale>
#include <cstdio>
#include <ctime>
#include <locale.h>
#include <optional>
#include <ostream>
#include <string>

#include "cli/commands.h"
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

bool is_help(const std::string& a) { return a == "--help" || a == "-h"; }

int usage_error(const Invocation& inv, const std::string& message, const char* usage) {
  inv.err << "tolvan-cli macro: " << message << "\n" << usage;
  return 2;
}

// The arguments after the subcommand when they are exactly one TEXT (or a help request).
std::optional<std::string> single_text(const Invocation& inv, const char* usage, int& status) {
  std::vector<std::string> rest(inv.args.begin() + 1, inv.args.end());
  if (!rest.empty() && rest[0] == "--") rest.erase(rest.begin());
  else if (!rest.empty() && is_help(rest[0])) {
    inv.out << usage;
    status = 0;
    return std::nullopt;
  }
  if (rest.size() != 1) {
    status = usage_error(inv, rest.empty() ? "a TEXT is needed." : "only one TEXT is taken.",
                         usage);
    return std::nullopt;
  }
  return rest[0];
}

bool all_digits(std::string_view s, size_t from, size_t count) {
  for (size_t i = from; i < from + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
  }
  return true;
}

int digits_value(std::string_view s, size_t from, size_t count) {
  int v = 0;
  for (size_t i = from; i < from + count; ++i) v = v * 10 + (s[i] - '0');
  return v;
}

// YYYY-MM-DDTHH:MM:SS as local time; nullopt when it is not such a time or does not exist.
std::optional<std::time_t> parse_local_time(std::string_view s) {
  if (s.size() != 19 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' ||
      s[16] != ':') {
    return std::nullopt;
  }
  for (size_t from : {0, 5, 8, 11, 14, 17}) {
    if (!all_digits(s, from, from == 0 ? 4 : 2)) return std::nullopt;
  }
  std::tm tm{};
  tm.tm_year = digits_value(s, 0, 4) - 1900;
  tm.tm_mon = digits_value(s, 5, 2) - 1;
  tm.tm_mday = digits_value(s, 8, 2);
  tm.tm_hour = digits_value(s, 11, 2);
  tm.tm_min = digits_value(s, 14, 2);
  tm.tm_sec = digits_value(s, 17, 2);
  tm.tm_isdst = -1;
  std::tm normalised = tm;
  std::time_t t = std::mktime(&normalised);
  if (t == static_cast<std::time_t>(-1) || normalised.tm_year != tm.tm_year ||
      normalised.tm_mon != tm.tm_mon || normalised.tm_mday != tm.tm_mday ||
      normalised.tm_hour != tm.tm_hour || normalised.tm_min != tm.tm_min ||
      normalised.tm_sec != tm.tm_sec) {
    return std::nullopt;
  }
  return t;
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

int run_expand(const Invocation& inv) {
  std::optional<std::time_t> now;
  std::optional<std::string> clipboard;
  std::optional<std::string> text;
  bool options_done = false;
  for (size_t i = 1; i < inv.args.size(); ++i) {
    const std::string& a = inv.args[i];
    if (!options_done && is_help(a)) {
      inv.out << kExpandUsage;
      return 0;
    } else if (!options_done && a == "--") {
      options_done = true;
    } else if (!options_done && a == "--now") {
      if (i + 1 >= inv.args.size()) return usage_error(inv, "--now needs a time.", kExpandUsage);
      now = parse_local_time(inv.args[++i]);
      if (!now) {
        return usage_error(inv,
                           "'" + inv.args[i] +
                               "' is not a valid local time; write it as YYYY-MM-DDTHH:MM:SS.",
                           kExpandUsage);
      }
    } else if (!options_done && a == "--clipboard") {
      if (i + 1 >= inv.args.size()) {
        return usage_error(inv, "--clipboard needs a text.", kExpandUsage);
      }
      clipboard = inv.args[++i];
    } else if (!options_done && a.size() > 1 && a[0] == '-' && a[1] == '-') {
      return usage_error(inv, "unknown option '" + a + "'.", kExpandUsage);
    } else if (text) {
      return usage_error(inv, "only one TEXT is taken.", kExpandUsage);
    } else {
      text = a;
    }
  }
  if (!text) return usage_error(inv, "a TEXT is needed.", kExpandUsage);

  MacroEnvironment env;
  if (now) env.now = [t = *now] { return t; };
  env.clipboard_text = [clipboard] { return clipboard; };
  EnvironmentTimeLocale locale;
  InsertionResult result = insertion_macros_execute(*text, env);
  inv.out << result.text << "\n" << "cursor-back: " << result.cursor_back << "\n";
  return 0;
}

int run_conversion(const Invocation& inv, bool to_tolvan) {
  int status = 0;
  std::optional<std::string> text = single_text(inv, to_tolvan ? kFromTeUsage : kToTeUsage, status);
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
  std::vector<std::string> rest(inv.args.begin() + 1, inv.args.end());
  if (!rest.empty() && is_help(rest[0])) {
    inv.out << kKeysUsage;
    return 0;
  }
  if (rest.empty() || rest[0].empty()) return usage_error(inv, "KEYS are needed.", kKeysUsage);
  if (rest.size() > 2) return usage_error(inv, "only KEYS and a COUNT are taken.", kKeysUsage);
  int count = 1;
  if (rest.size() == 2) {
    const std::string& c = rest[1];
    if (c.empty() || c.size() > 9 || !all_digits(c, 0, c.size())) {
      return usage_error(inv, "COUNT must be a whole number, not '" + c + "'.", kKeysUsage);
    }
    count = digits_value(c, 0, c.size());
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
  if (inv.args.empty()) {
    inv.err << kUsage;
    return 2;
  }
  const std::string& command = inv.args[0];
  if (is_help(command)) {
    inv.out << kUsage;
    return 0;
  }
  if (command == "expand") return run_expand(inv);
  if (command == "from-te") return run_conversion(inv, true);
  if (command == "to-te") return run_conversion(inv, false);
  if (command == "keys") return run_keys(inv);
  return usage_error(inv, "unknown command '" + command + "'.", kUsage);
}

}  // namespace tolvan::cli
